// The share dialog family's load, move, OK and close sequences; the members pass their profile.
// The designed captions are Chinese; English ones are set at load.
#include "dialogs/share/ShareGroupDialog.h"

#include "dialogs/common/ListLayouts.h"
#include "dialogs/common/RowIcons.h"
#include "store/ErrorTrap.h"
#include "store/StoreSession.h"

namespace velmora::dialogs {

namespace {

constexpr int groupListWidth = 4800;

} // namespace

ShareGroupDialog::ShareGroupDialog(DialogContext& state, ShareGroupProfile profile)
    : state_(state), profile_(std::move(profile)), form_(profile_.formName),
      label2_(form_.add<controls::Label>("Label2")), label3_(form_.add<controls::Label>("Label3")),
      left_(form_.add<controls::ListView>("ListViewLeft")),
      right_(form_.add<controls::ListView>("ListViewRight")),
      ok_(form_.add<controls::CommandButton>("OK")),
      cancel_(form_.add<controls::CommandButton>("Cancel")),
      groups_(left_, right_, groupIcon, CopyShareListRow) {
    form_.setCaption(profile_.designedTitle);
    if (profile_.hasTab) {
        tab_ = &form_.add<controls::TabControl>("SSTab1", -1, 1);
        tab_->setTabCaption(0, profile_.tabChinese);
    }
    label2_.setCaption("可分享的组:");
    label3_.setCaption("分享的组:");
    ok_.setCaption("确定");
    cancel_.setCaption("取消");
    left_.setWidth(groupListWidth);
    right_.setWidth(groupListWidth);
    groups_.wireOn(form_, "cmdMoveFields", [this](int, MoveResult result) { afterMove(result); });
    subscriptions_.push_back(form_.Load.subscribe([this] { onLoad(); }));
    subscriptions_.push_back(form_.Unload.subscribe([this](int&) { onUnload(); }));
    subscriptions_.push_back(ok_.Click.subscribe([this] { onOk(); }));
    subscriptions_.push_back(cancel_.Click.subscribe([this] { form_.unload(); }));
    subscriptions_.push_back(closeOnEscapeFromAnyControl(form_));
    form_.keepAsDesigned();
}

template <typename Step> void ShareGroupDialog::loadStep(Step&& step, const char* label) {
    if (label) {
        errorTrap(state_, label, step);
    } else if (profile_.skipLoadErrors) {
        ignoreErrors(step);
    } else {
        step();
    }
}

void ShareGroupDialog::onLoad() {
    if (profile_.dialogCode != dialogNone) state_.activeDialog = profile_.dialogCode;
    sharesChanged_ = false;
    ok_.setEnabled(false);
    left_.ListItems().Clear();
    right_.ListItems().Clear();
    loadStep([&] { state_.currentUser = getCurrentUser(state_); });
    if (!state_.isChinese) {
        if (tab_) tab_->setTabCaption(0, profile_.tabEnglish);
        label2_.setCaption("Available Groups:");
        label3_.setCaption("Share Information With These groups:");
        ok_.setCaption("OK");
        cancel_.setCaption("Cancel");
    }
    applyListLayout(left_, ListLayout::groups, state_);
    applyListLayout(right_, ListLayout::groups, state_);
    if (profile_.itemFromSelection)
        loadStep([&] {
            entryId_.clear();
            auto explorer = state_.application().ActiveExplorer();
            if (explorer && explorer->Selection().Count() > 0)
                entryId_ = explorer->Selection().Item(1)->EntryID();
        });
    loadStep([&] { fillGroupLists(state_, profile_.kind, entryId_, left_, right_); },
             profile_.fillLabel);
}

void ShareGroupDialog::afterMove(MoveResult result) {
    if (!result.changed) return;
    sharesChanged_ = true;
    ok_.setEnabled(true);
}

void ShareGroupDialog::onOk() {
    if (sharesChanged_)
        errorTrap(state_, profile_.applyLabel,
                  [&] { applyGroupShares(state_, profile_.kind, entryId_, right_, mailEntryId_); });
    form_.unload();
}

void ShareGroupDialog::onUnload() {
    if (profile_.dialogCode != dialogNone) state_.activeDialog = dialogNone;
    // The item is touched after any change, also when the dialog is left without OK.
    if (sharesChanged_ && profile_.touchCode != 0)
        touchSharedItem(state_, profile_.touchCode, entryId_);
    sharesChanged_ = false;
}

} // namespace velmora::dialogs
