// The share-appointment dialog's sequences: load (tab, captions, columns, group lists unless the
// share tab is off, linked contacts), OK, the contact links, the search and the close.
#include "dialogs/share/ShareAppGroup.h"

#include "dialogs/common/FormDesign.h"
#include "dialogs/common/ListFillers.h"
#include "dialogs/common/ListLayouts.h"
#include "dialogs/common/RowIcons.h"
#include "dialogs/common/WaitCursor.h"
#include "dialogs/share/ShareModel.h"
#include "links/AttachEvent.h"
#include "links/ItemLookup.h"
#include "platform/ado/Recordset.h"
#include "store/ErrorTrap.h"
#include "store/StoreSession.h"

namespace velmora::dialogs {

namespace {

using enum ControlKind;

// The attach tab's controls, after the group lists of the share tab.
constexpr ControlDesign design[] = {
    {List, "ListViewLeftPlus"},
    {List, "ListViewRightPlus"},
    {Button, "cmdSearch", -1, {.english = "Search for Contact. . .", .chinese = "查找联系人. . ."}},
    {Button, "cmdProp", -1, {.english = "Properties. . .", .chinese = "属性..."}},
    {Check, "checkShareEvent", -1, {.english = "Share with contact", .chinese = "随联系人分享"}},
    {Button, "attachEventtoContact", -1, {.english = "Attach", .chinese = "确定"}},
    {Label, "doneTab", -1, {.english = "Done!", .chinese = "绑定成功!"}},
    {Button, "cmdCancel", -1, {.english = "Close", .chinese = "关闭"}},
};

constexpr text::Bilingual tabCaptions[] = {
    {.english = "Share Appointment", .chinese = "分享事件"},
    {.english = "Attach to Contact", .chinese = "绑定到联系人"},
};

controls::TabControl& designForm(controls::Form& form) {
    form.setCaption("分享与绑定事件");
    auto& tab = form.add<controls::TabControl>("SSTab1", -1, 2);
    for (int i = 0; i < 2; ++i)
        tab.setTabCaption(i, std::string(tabCaptions[i].chinese));
    addControls(form, groupListsDesign());
    addControls(form, design);
    return tab;
}

} // namespace

ShareAppGroup::ShareAppGroup(DialogContext& state)
    : DialogForm(state, "ShareAppGroup"), tab_(designForm(form_)),
      left_(form_.get<controls::ListView>("ListViewLeft")),
      right_(form_.get<controls::ListView>("ListViewRight")),
      ok_(form_.get<controls::CommandButton>("OK")),
      leftPlus_(form_.get<controls::ListView>("ListViewLeftPlus")),
      rightPlus_(form_.get<controls::ListView>("ListViewRightPlus")),
      prop_(form_.get<controls::CommandButton>("cmdProp")),
      shareEvent_(form_.get<controls::CheckBox>("checkShareEvent")),
      attach_(form_.get<controls::CommandButton>("attachEventtoContact")),
      done_(form_.get<controls::Label>("doneTab")),
      groups_(left_, right_, groupIcon, CopyShareListRow),
      contacts_(leftPlus_, rightPlus_, contactIcon) {
    for (auto* list : {&left_, &right_, &leftPlus_, &rightPlus_})
        list->setWidth(pickerListWidth);
    groups_.wireOn(form_, "cmdMoveFields", [this](int, MoveResult result) { groupsMoved(result); });
    contacts_.wireOn(form_, "cmdMoveFieldsPlus", [this](int, MoveResult) { contactsMoved(); });
    using Dialog = ShareAppGroup;
    using enum FormEvent;
    wire({
        {"OK", Click, {*this, &Dialog::OK_Click}},
        {"attachEventtoContact", Click, {*this, &Dialog::attachEventtoContact_Click}},
        {"checkShareEvent", Click, {*this, &Dialog::checkShareEvent_Click}},
        {"cmdSearch", Click, {*this, &Dialog::cmdSearch_Click}},
        {"cmdProp", Click, {*this, &Dialog::cmdProp_Click}},
        {"ListViewRightPlus", DblClick, {*this, &Dialog::ListViewRightPlus_DblClick}},
        {"cmdCancel", Click, {*this, &Dialog::cmdCancel_Click}},
    });
}

DialogSearch& ShareAppGroup::contactSearch() {
    if (!search_dialog_) search_dialog_ = std::make_unique<DialogSearch>(state_);
    return *search_dialog_;
}

// ---- Opening ----

void ShareAppGroup::selectSavedTab() {
    const int saved = state_.ui.calendarTab;
    if (saved >= 0 && saved < tab_.Tabs() && tab_.TabEnabled(saved))
        tab_.setTab(saved);
    else
        tab_.setTab(tab_.TabEnabled(0) ? 0 : 1);
}

void ShareAppGroup::Form_Load() {
    state_.activeDialog = dialogShareAppointment;
    sharesChanged_ = false;
    selectSavedTab();
    entryId_.clear();
    auto explorer = state_.application().ActiveExplorer();
    if (explorer && explorer->Selection().Count() > 0)
        entryId_ = explorer->Selection().Item(1)->EntryID();
    state_.currentUser = getCurrentUser(state_);
    for (int i = 0; i < 2; ++i)
        tab_.setTabCaption(i, say(state_, tabCaptions[i]));
    setCaptions(form_, groupListsDesign(), state_.isChinese);
    setCaptions(form_, design, state_.isChinese);
    for (auto* list : {&left_, &right_, &leftPlus_, &rightPlus_})
        list->ListItems().Clear();
    applyListLayout(left_, ListLayout::appointmentGroups, state_);
    applyListLayout(right_, ListLayout::appointmentGroups, state_);
    applyListLayout(leftPlus_, ListLayout::contacts, state_);
    applyListLayout(rightPlus_, ListLayout::contacts, state_);
    // The dispatcher switches the share tab off for a user who is not the creator.
    if (tab_.TabEnabled(0)) fillGroupLists(state_, ShareKind::appointment, entryId_, left_, right_);
    ok_.setEnabled(false);
    initAttachTab();
}

void ShareAppGroup::initAttachTab() {
    ignoreErrors([&] {
        ado::Recordset rs;
        rs.Open("Select OutlookContactID,PrivateAccess,ContactId from noteTb where "
                "OutlookAttachID= '" +
                    ado::sqlText(entryId_) + "' and makedelete =false and (creator= '" +
                    ado::sqlText(state_.currentUser) + "' or privateAccess=0)",
                state_.connection());
        if (!rs.IsEOF())
            shareEvent_.setValue(rs.Fields("PrivateAccess").Value().toBool() ? controls::vbUnchecked
                                                                             : controls::vbChecked);
        addLinkedRows(state_, rs, "OutlookContactID", "ContactId", kindContact,
                      {&leftPlus_, &rightPlus_});
    });
    setContactOptions();
    done_.setVisible(false);
    attach_.setEnabled(false);
}

// ---- Sharing ----

void ShareAppGroup::groupsMoved(MoveResult result) {
    if (result.changed) sharesChanged_ = true;
    if (result.ran) ok_.setEnabled(true);
}

void ShareAppGroup::OK_Click() {
    if (tab_.Tab() == 0 && sharesChanged_) {
        if (errorTrap(state_, "sapp1>>",
                      [&] { applyGroupShares(state_, ShareKind::appointment, entryId_, right_); }))
            touchSharedItem(state_, 1, entryId_);
    }
    sharesChanged_ = false;
    ok_.setEnabled(false);
}

// ---- Attaching to contacts ----

void ShareAppGroup::setContactOptions() {
    const bool any = rightPlus_.ListItems().Count() > 0;
    prop_.setEnabled(any);
    if (!any) shareEvent_.setValue(controls::vbUnchecked);
    shareEvent_.setEnabled(any);
}

void ShareAppGroup::contactsMoved() {
    attach_.setEnabled(true);
    done_.setVisible(false);
    setContactOptions();
}

void ShareAppGroup::checkShareEvent_Click() {
    if (!attach_.Enabled()) attach_.setEnabled(true);
    done_.setVisible(false);
}

host::ItemPtr ShareAppGroup::openAppointment() {
    host::ItemPtr appointment;
    ignoreErrors([&] {
        auto folder = getDefaultFolder(state_, kindAppointment);
        appointment = state_.application().GetNamespace("MAPI").GetItemFromID(
            entryId_, folder ? folder->StoreID() : std::string());
    });
    return appointment;
}

void ShareAppGroup::attachEventtoContact_Click() {
    WaitCursor wait(state_);
    host::ItemPtr appointment = openAppointment();
    if (!appointment) {
        form_.unload();
        return;
    }
    ignoreErrors([&] { relinkContacts(*appointment); });
}

void ShareAppGroup::relinkContacts(host::Item& appointment) {
    auto& links = appointment.Links();
    if (links.Count() == 0 && rightPlus_.ListItems().Count() == 0) {
        attach_.setEnabled(false);
        done_.setVisible(true);
        prop_.setEnabled(false);
        return;
    }
    const bool written = completedCleanly(state_, [&] {
        removeAllLinks(links);
        linkListedContacts(state_, links, rightPlus_, std::string());
        ignoreErrorsAndUndo(state_, "sharing an appointment: saving it", [&] {
            state_.skipNextItemEvent = true;
            appointment.Save();
        });
        ignoreErrorsAndUndo(state_, "sharing an appointment: its contact links", [&] {
            if (!state_.eventLinks) throw std::runtime_error("The appointment links are not ready");
            state_.eventLinks->attachEventtoContactForListView(appointment, rightPlus_,
                                                               shareEvent_.checked());
        });
    });
    const bool chosen = leftPlus_.ListItems().Count() > 0;
    prop_.setEnabled(chosen);
    if (!chosen) return;
    attach_.setEnabled(false);
    // "Done!" only over rows written; a failure was shown or logged on the way.
    done_.setVisible(written);
}

// ---- Searching and opening ----

void ShareAppGroup::cmdSearch_Click() {
    done_.setVisible(false);
    state_.searchTarget = &leftPlus_;
    contactSearch().Show(true, &form_);
}

void ShareAppGroup::cmdProp_Click() {
    showSelectedContact();
}

void ShareAppGroup::ListViewRightPlus_DblClick() {
    if (rightPlus_.ListItems().Count() > 0) showSelectedContact();
}

void ShareAppGroup::showSelectedContact() {
    auto* row = rightPlus_.SelectedItem();
    if (!row || !row->Selected()) return;
    WaitCursor wait(state_);
    showItem(state_, row->Key(), kindContact);
}

// ---- Closing ----

void ShareAppGroup::cmdCancel_Click() {
    form_.unload();
}

void ShareAppGroup::Form_Unload() {
    state_.activeDialog = dialogNone;
    sharesChanged_ = false;
    state_.ui.calendarTab = static_cast<std::int16_t>(tab_.Tab());
}

} // namespace velmora::dialogs
