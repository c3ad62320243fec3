// The share-appointment dialog: a share tab (the appointment's groups) and an attach tab (the
// contacts it is linked to). Its OK and Attach buttons apply without closing it.
#pragma once

#include "dialogs/common/DialogForm.h"
#include "dialogs/common/ListPair.h"
#include "dialogs/search/DialogSearch.h"
#include "platform/controls/CaptionedControls.h"
#include "platform/controls/ListView.h"
#include "platform/controls/TabControl.h"

#include <memory>
#include <string>

namespace velmora::dialogs {

class ShareAppGroup : public DialogForm {
  public:
    explicit ShareAppGroup(DialogContext& state);

    // The contact search opened from the attach tab; created on first use.
    DialogSearch& contactSearch();

    const std::string& entryId() const { return entryId_; }
    bool sharesChanged() const { return sharesChanged_; }

  private:
    void Form_Load() override;
    void Form_Unload() override;
    void OK_Click();
    void attachEventtoContact_Click();
    void checkShareEvent_Click();
    void cmdSearch_Click();
    void cmdProp_Click();
    void ListViewRightPlus_DblClick();
    void cmdCancel_Click();

    void selectSavedTab();
    void initAttachTab();
    void groupsMoved(MoveResult result);
    void contactsMoved();
    void setContactOptions();
    host::ItemPtr openAppointment();
    // Makes the appointment's Outlook links and recorded links those of the right list.
    void relinkContacts(host::Item& appointment);
    void showSelectedContact();

    controls::TabControl& tab_;
    controls::ListView& left_;
    controls::ListView& right_;
    controls::CommandButton& ok_;
    controls::ListView& leftPlus_;
    controls::ListView& rightPlus_;
    controls::CommandButton& prop_;
    controls::CheckBox& shareEvent_;
    controls::CommandButton& attach_;
    controls::Label& done_;
    ListPair groups_;
    ListPair contacts_;
    std::unique_ptr<DialogSearch> search_dialog_;
    std::string entryId_;
    bool sharesChanged_ = false;
};

} // namespace velmora::dialogs
