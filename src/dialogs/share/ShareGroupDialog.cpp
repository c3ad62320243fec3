// The share dialog family's load, move, OK and close sequences, and the profiles of its three
// members. The designed captions are Chinese; the language's are set at every load.
#include "dialogs/share/ShareGroupDialog.h"

#include "dialogs/common/FormDesign.h"
#include "dialogs/common/ListLayouts.h"
#include "dialogs/common/RowIcons.h"
#include "store/ErrorTrap.h"
#include "store/StoreSession.h"

namespace velmora::dialogs {

namespace {

constexpr ControlDesign cancelDesign[] = {
    {ControlKind::Button, "Cancel", -1, {.english = "Cancel", .chinese = "取消"}}};

// Task: Group_Todo and TodoExt, touch code 3; load errors reach the opener.
constexpr ShareGroupProfile taskProfile{"ShareTaskGroup",
                                        ShareKind::task,
                                        "分享任务",
                                        {.english = "Share Task", .chinese = "分享任务 "},
                                        dialogShareTask,
                                        "stg1>>",
                                        nullptr,
                                        false,
                                        3,
                                        true};
// Contact: Group_Contact and ContactExt, touch code 2; each failing load step is passed over.
constexpr ShareGroupProfile contactProfile{"ShareContactGroup",
                                           ShareKind::contact,
                                           "联系人分享",
                                           {.english = "Share contact", .chinese = " 分享联系人 "},
                                           dialogShareContact,
                                           "scg>>",
                                           nullptr,
                                           true,
                                           2,
                                           true};
// The appointment from a mail: Group_Task, CalendarExt and the mail's noteTb privacy; no tab,
// activeDialog left alone, the item handed over, list fill failures reported.
constexpr ShareGroupProfile mailProfile{"shareEmailGroups",
                                        ShareKind::appointmentFromMail,
                                        "分享事件",
                                        {.english = "", .chinese = ""},
                                        dialogNone,
                                        "seg1>>",
                                        "labelAddGroups: ",
                                        false,
                                        0,
                                        false};

// The design's controls; the left group list is the first a dialog keeps.
controls::ListView& designForm(controls::Form& form) {
    addControls(form, groupListsDesign());
    addControls(form, cancelDesign);
    return form.get<controls::ListView>("ListViewLeft");
}

} // namespace

ShareGroupDialog::ShareGroupDialog(DialogContext& state, const ShareGroupProfile& profile)
    : DialogForm(state, profile.formName), profile_(profile), left_(designForm(form_)),
      right_(form_.get<controls::ListView>("ListViewRight")),
      ok_(form_.get<controls::CommandButton>("OK")),
      groups_(left_, right_, groupIcon, CopyShareListRow) {
    form_.setCaption(profile_.designedTitle);
    if (!profile_.tab.chinese.empty()) {
        tab_ = &form_.add<controls::TabControl>("SSTab1", -1, 1);
        tab_->setTabCaption(0, std::string(profile_.tab.chinese));
    }
    left_.setWidth(pickerListWidth);
    right_.setWidth(pickerListWidth);
    groups_.wireOn(form_, "cmdMoveFields", [this](int, MoveResult result) { groupsMoved(result); });
    using Dialog = ShareGroupDialog;
    using enum FormEvent;
    wire({
        {"OK", Click, {*this, &Dialog::OK_Click}},
        {"Cancel", Click, {*this, &Dialog::Cancel_Click}},
    });
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

void ShareGroupDialog::setCaptions() {
    if (tab_) tab_->setTabCaption(0, say(state_, profile_.tab));
    velmora::setCaptions(form_, groupListsDesign(), state_.isChinese);
    velmora::setCaptions(form_, cancelDesign, state_.isChinese);
}

void ShareGroupDialog::Form_Load() {
    if (profile_.dialogCode != dialogNone) state_.activeDialog = profile_.dialogCode;
    sharesChanged_ = false;
    ok_.setEnabled(false);
    left_.ListItems().Clear();
    right_.ListItems().Clear();
    loadStep([&] { state_.currentUser = getCurrentUser(state_); });
    setCaptions();
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

void ShareGroupDialog::groupsMoved(MoveResult result) {
    if (!result.changed) return;
    sharesChanged_ = true;
    ok_.setEnabled(true);
}

void ShareGroupDialog::OK_Click() {
    if (sharesChanged_)
        errorTrap(state_, profile_.applyLabel,
                  [&] { applyGroupShares(state_, profile_.kind, entryId_, right_, mailEntryId_); });
    form_.unload();
}

void ShareGroupDialog::Cancel_Click() {
    form_.unload();
}

void ShareGroupDialog::Form_Unload() {
    if (profile_.dialogCode != dialogNone) state_.activeDialog = dialogNone;
    // The item is touched after any change, also when the dialog is left without OK.
    if (sharesChanged_ && profile_.touchCode != 0)
        touchSharedItem(state_, profile_.touchCode, entryId_);
    sharesChanged_ = false;
}

// ---- The members ----

ShareTaskGroup::ShareTaskGroup(DialogContext& state) : ShareGroupDialog(state, taskProfile) {}

ShareContactGroup::ShareContactGroup(DialogContext& state)
    : ShareGroupDialog(state, contactProfile) {}

shareEmailGroups::shareEmailGroups(DialogContext& state) : ShareGroupDialog(state, mailProfile) {}

void shareEmailGroups::setAppointmentObj(const std::string& appointmentEntryId,
                                         const std::string& mailEntryId) {
    entryId_ = appointmentEntryId;
    mailEntryId_ = mailEntryId;
}

} // namespace velmora::dialogs
