// The share dialog family (task, contact, and the appointment made from a mail): two group
// lists with their move buttons, OK and Cancel. The members differ only in their profile.
#pragma once

#include "dialogs/common/DialogContext.h"
#include "dialogs/common/ListPair.h"
#include "dialogs/share/ShareModel.h"
#include "platform/controls/CommandButton.h"
#include "platform/controls/Form.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListView.h"
#include "platform/controls/TabControl.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velmora::dialogs {

// What tells the members of the family apart, as data.
struct ShareGroupProfile {
    std::string formName;
    ShareKind kind = ShareKind::task;
    const char* designedTitle = "";
    bool hasTab = true;
    const char* tabChinese = "";
    const char* tabEnglish = "";
    std::int16_t dialogCode = dialogNone; // activeDialog while loaded; none leaves it alone
    const char* applyLabel = "";          // error label of applyGroupShares
    const char* fillLabel = nullptr;      // error label of fillGroupLists, or unhandled
    bool skipLoadErrors = false;          // each failing step of the load is passed over
    int touchCode = 0;                    // touchSharedItem on close after a change; 0 none
    bool itemFromSelection = true;        // else the item is handed over by the opener
};

class ShareGroupDialog {
  public:
    ShareGroupDialog(const ShareGroupDialog&) = delete;
    ShareGroupDialog& operator=(const ShareGroupDialog&) = delete;
    virtual ~ShareGroupDialog() = default;

    controls::Form& form() { return form_; }
    void Show(bool modal = false, controls::Form* owner = nullptr) { form_.Show(modal, owner); }

    const std::string& entryId() const { return entryId_; }
    bool sharesChanged() const { return sharesChanged_; }

  protected:
    ShareGroupDialog(DialogContext& state, ShareGroupProfile profile);

    DialogContext& state_;
    std::string entryId_;
    std::string mailEntryId_;

  private:
    void onLoad();
    void onOk();
    void onUnload();
    void afterMove(MoveResult result);
    // Runs a load step as the profile says: unhandled, skipped on failure, or reported.
    template <typename Step> void loadStep(Step&& step, const char* label = nullptr);

    ShareGroupProfile profile_;
    controls::Form form_;
    controls::TabControl* tab_ = nullptr;
    controls::Label& label2_;
    controls::Label& label3_;
    controls::ListView& left_;
    controls::ListView& right_;
    controls::CommandButton& ok_;
    controls::CommandButton& cancel_;
    ListPair groups_;
    bool sharesChanged_ = false;
    std::vector<host::Subscription> subscriptions_;
};

} // namespace velmora::dialogs
