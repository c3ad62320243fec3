// The share dialog family (task, contact, and the appointment made from a mail): two group
// lists with their move buttons, OK and Cancel. The members differ only in their profile.
#pragma once

#include "dialogs/common/DialogForm.h"
#include "dialogs/common/ListPair.h"
#include "dialogs/share/ShareModel.h"
#include "platform/controls/CaptionedControls.h"
#include "platform/controls/ListView.h"
#include "platform/controls/TabControl.h"
#include "platform/text/Bilingual.h"

#include <cstdint>
#include <string>

namespace velmora::dialogs {

// What tells the members of the family apart, as data.
struct ShareGroupProfile {
    const char* formName;
    ShareKind kind;
    const char* designedTitle;
    text::Bilingual tab;     // none: the dialog has no tab
    std::int16_t dialogCode; // activeDialog while loaded; none leaves it alone
    const char* applyLabel;  // error label of applyGroupShares
    const char* fillLabel;   // error label of fillGroupLists, or unhandled
    bool skipLoadErrors;     // each failing step of the load is passed over
    int touchCode;           // touchSharedItem on close after a change; 0 none
    bool itemFromSelection;  // else the item is handed over by the opener
};

class ShareGroupDialog : public DialogForm {
  public:
    const std::string& entryId() const { return entryId_; }
    bool sharesChanged() const { return sharesChanged_; }

  protected:
    ShareGroupDialog(DialogContext& state, const ShareGroupProfile& profile);

    std::string entryId_;
    std::string mailEntryId_;

  private:
    void Form_Load() override;
    void Form_Unload() override;
    void OK_Click();
    void Cancel_Click();
    void groupsMoved(MoveResult result);
    void setCaptions();
    // Runs a load step as the profile says: unhandled, skipped on failure, or reported.
    template <typename Step> void loadStep(Step&& step, const char* label = nullptr);

    ShareGroupProfile profile_;
    controls::TabControl* tab_ = nullptr;
    controls::ListView& left_;
    controls::ListView& right_;
    controls::CommandButton& ok_;
    ListPair groups_;
    bool sharesChanged_ = false;
};

// Shares the task selected in the explorer with groups. Opened only for a task the user may
// share; touches the task on close after a change.
class ShareTaskGroup : public ShareGroupDialog {
  public:
    explicit ShareTaskGroup(DialogContext& state);
};

// Shares the contact selected in the explorer with groups. Opened only for a contact the user
// may share; touches the contact on close after a change.
class ShareContactGroup : public ShareGroupDialog {
  public:
    explicit ShareContactGroup(DialogContext& state);
};

// Shares the appointment made from a mail in the attach-mail dialog with groups, and makes the
// mail's contact links shared or private.
class shareEmailGroups : public ShareGroupDialog {
  public:
    explicit shareEmailGroups(DialogContext& state);
    // Called by the opener before the dialog is shown (modally, owned by the opener).
    void setAppointmentObj(const std::string& appointmentEntryId, const std::string& mailEntryId);
};

} // namespace velmora::dialogs
