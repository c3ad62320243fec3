// The events tab's sequences: the recorded events at opening, the options, attaching the mail
// to the right list's events (rewriting its rows) and opening a chosen event.
#include "dialogs/attach/MailEventsTab.h"

#include "dialogs/common/ListFillers.h"
#include "dialogs/common/ListLayouts.h"
#include "dialogs/common/RowIcons.h"
#include "dialogs/common/WaitCursor.h"
#include "dialogs/share/ShareModel.h"
#include "links/AttachEmail.h"
#include "links/ItemLookup.h"
#include "platform/ado/Recordset.h"
#include "store/ErrorTrap.h"
#include "store/StoreSession.h"

namespace velmora::dialogs {

MailEventsTab::MailEventsTab(DialogContext& state, controls::Form& form, AttachedMail& mail)
    : MailPickerTab(state, form, mail,
                    {"ListViewLeftPlus", "ListViewRightPlus", "AttachCEventFrame",
                     "AttachEEventFrame", "cmdMoveFieldsPlus", eventIcon, ListLayout::events},
                    [this](int, MoveResult) { eventsChanged(); }),
      prop2_(form.get<controls::CommandButton>("cmdProp2")),
      mailtoEvent_(form.get<controls::CommandButton>("cmdMailtoEvent")),
      doneTab2_(form.get<controls::Label>("doneTab2")), deleteMail_(form, "deleteMailForEvent"),
      includeAttachment_(form, "includeAttachmentForEvent") {}

DialogSearchPlus& MailEventsTab::eventSearch() {
    if (!search_) search_ = std::make_unique<DialogSearchPlus>(state_);
    return *search_;
}

void MailEventsTab::showLayout(bool chinese) {
    deleteMail_.showLayout(chinese);
    includeAttachment_.showLayout(chinese);
    showPicker(chinese);
}

void MailEventsTab::iniAttachMailToEvent() {
    errorTrap(state_, "iniAttachMailToEvent :", [&] {
        for (auto* list : {&left_, &right_})
            list->ListItems().Clear();
        ado::Recordset rs;
        rs.Open("Select OutlookApptID,bAttachment,contactId from ToEvent where OutlookEmailID= '" +
                    ado::sqlText(mail_.id) + "' and makedelete =false",
                state_.connection());
        const bool withAttachments = !rs.IsEOF() && rs.Fields("bAttachment").Value().toBool();
        addLinkedRows(state_, rs, "OutlookApptID", "contactId", kindAppointment, {&left_, &right_});
        setEventButtons(right_.ListItems().Count() > 0);
        includeAttachment_.tick(state_.isChinese, withAttachments);
        // Ticking from the store raised the option's Click; that is no change of the user's.
        changed_ = false;
        mailtoEvent_.setEnabled(false);
        doneTab2_.setVisible(false);
    });
}

void MailEventsTab::addCreatedAppointment(const host::Item& appointment) {
    const std::string entryId = appointment.EntryID();
    for (auto* list : {&left_, &right_})
        AddShareListRow(*list, eventIcon, entryId, appointment.Text("Subject"),
                        appointment.Text("CreationTime"));
    setEventButtons(true);
}

// ---- Options and moves ----

void MailEventsTab::setEventButtons(bool enabled) {
    includeAttachment_.setOption(state_.isChinese, enabled && mail_.hasAttachments());
    deleteMail_.setOption(state_.isChinese, enabled && !mail_.isNew());
    prop2_.setEnabled(enabled);
}

void MailEventsTab::eventsChanged() {
    changed_ = true;
    mailtoEvent_.setEnabled(true);
    doneTab2_.setVisible(false);
    // Options a user can tick follow the list, as on the contacts tab.
    const bool any = right_.ListItems().Count() > 0;
    if (prop2_.Enabled() != any) setEventButtons(any);
}

// ---- Attaching ----

void MailEventsTab::cmdMailtoEvent_Click() {
    errorTrap(state_, "cmdMailtoEvent :", [&] { attachMailToEventClick(); });
}

void MailEventsTab::attachMailToEventClick() {
    if (!mail_.loaded()) return;
    WaitCursor wait(state_);
    mailtoEvent_.setEnabled(false);
    if (!changed_) {
        doneTab2_.setVisible(true);
        return;
    }
    changed_ = false;
    const bool written = completedCleanly(state_, [&] {
        // A mail sent from this dialog may have reached Sent Items meanwhile: its rows are there.
        const std::string key = ado::sqlText(mail_.links().settledKey(mail_.id));
        removeEventRows(key);
        const bool include = includeAttachment_.ticked(state_.isChinese);
        if (mail_.hasAttachments() && !include && !mail_.links().isAttachNoteTb(mail_.id))
            mail_.links().removeMailAttachments(mail_.id);
        writeEventRows(include);
        if (right_.ListItems().Count() == 0) settleHistory(key);
    });
    // "Done!" only over rows written; a failed step has said why already.
    if (!written) return;
    doneTab2_.setVisible(true);
    if (!deleteMail_.ticked(state_.isChinese)) return;
    ignoreErrors([&] { mail_.item->Delete(); });
    form_.unload();
}

void MailEventsTab::removeEventRows(const std::string& key) {
    ado::Recordset rs;
    rs.Open("Select OutlookApptID from toEvent where outlookEmailID= '" + key + "'",
            state_.connection(), ado::adOpenKeyset, ado::adLockPessimistic);
    for (; !rs.IsEOF(); rs.MoveNext()) {
        const std::string appointment = rs.Fields("OutlookApptID").Value().text();
        if (appointment.size() > 40) touchSharedItem(state_, 1, appointment);
        rs.Delete();
    }
}

void MailEventsTab::writeEventRows(bool include) {
    AttachEmail& links = mail_.links();
    auto& rows = right_.ListItems();
    for (int i = 1; i <= rows.Count(); ++i) {
        const std::string appointment = rows.Item(i).Key();
        const bool written = links.emailToEvent(*mail_.item, appointment, mail_.id, include);
        if (i == 1 && written && include && mail_.hasAttachments())
            links.saveMailAttachments(*mail_.item, mail_.id);
        if (written) touchSharedItem(state_, 1, appointment);
    }
}

void MailEventsTab::settleHistory(const std::string& key) {
    ado::Recordset rs;
    rs.Open("Select OutlookContactID from noteTb where OutlookAttachID= '" + key +
                "' and makedelete=False and (creator= '" + ado::sqlText(state_.currentUser) +
                "' or privateAccess=0)",
            state_.connection(), ado::adOpenKeyset);
    const long count = rs.RecordCount();
    state_.connection().Execute(
        count == 0 ? "delete from EMailHistory where entryid = '" + key + "'"
                   : "update EMailHistory set att_count='" + std::to_string(count) +
                         "' where entryid = '" + key + "'");
}

// ---- Searching and opening ----

void MailEventsTab::cmdSearchPlus_Click() {
    state_.searchTarget = &left_;
    eventSearch().Show(true, &form_);
}

void MailEventsTab::ListViewRightPlus_DblClick() {
    if (right_.SelectedItem()) showChosenEvent();
}

void MailEventsTab::showChosenEvent() {
    controls::ListItem* row = right_.SelectedItem();
    if (!row) {
        showInformation(state_, say(state_, {.english = "Please a calendar item!",
                                             .chinese = "请先择一个要显示的日历！"}));
        return;
    }
    WaitCursor wait(state_);
    showItem(state_, row->Key(), kindAppointment);
}

} // namespace velmora::dialogs
