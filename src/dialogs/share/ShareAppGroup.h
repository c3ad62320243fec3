// The share-appointment dialog: a share tab (the appointment's groups) and an attach tab (the
// contacts it is linked to). Its OK and Attach buttons apply without closing it.
#pragma once

#include "dialogs/common/DialogContext.h"
#include "dialogs/common/ListPair.h"
#include "dialogs/search/DialogSearch.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/CommandButton.h"
#include "platform/controls/Form.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListView.h"
#include "platform/controls/TabControl.h"

#include <memory>
#include <string>
#include <vector>

namespace velmora::dialogs {

class ShareAppGroup {
  public:
    explicit ShareAppGroup(DialogContext& state);
    ShareAppGroup(const ShareAppGroup&) = delete;
    ShareAppGroup& operator=(const ShareAppGroup&) = delete;

    controls::Form& form() { return form_; }
    void Show(bool modal = false, controls::Form* owner = nullptr) { form_.Show(modal, owner); }
    // The contact search opened from the attach tab; created on first use.
    DialogSearch& contactSearch();

    const std::string& entryId() const { return entryId_; }
    bool sharesChanged() const { return sharesChanged_; }

  private:
    void onLoad();
    void onUnload();
    void onOk();
    void initAttachTab();
    void onAttach();
    void afterContactMove();
    void showSelectedContact();
    void setContactOptions();

    DialogContext& state_;
    controls::Form form_;
    controls::TabControl& tab_;
    controls::Label& label2_;
    controls::Label& label3_;
    controls::ListView& left_;
    controls::ListView& right_;
    controls::CommandButton& ok_;
    controls::ListView& leftPlus_;
    controls::ListView& rightPlus_;
    controls::CommandButton& search_;
    controls::CommandButton& prop_;
    controls::CheckBox& shareEvent_;
    controls::CommandButton& attach_;
    controls::Label& done_;
    controls::CommandButton& cancel_;
    ListPair groups_;
    ListPair contacts_;
    std::unique_ptr<DialogSearch> search_dialog_;
    std::string entryId_;
    bool sharesChanged_ = false;
    std::vector<host::Subscription> subscriptions_;
};

} // namespace velmora::dialogs
