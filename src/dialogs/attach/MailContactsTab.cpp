// The contacts tab's sequences: the candidates and recorded links at opening, the options that
// follow the right list, attaching (making contacts the mail names but Outlook lacks) and opening
// one.
#include "dialogs/attach/MailContactsTab.h"

#include "dialogs/common/ListFillers.h"
#include "dialogs/common/ListLayouts.h"
#include "dialogs/common/RowIcons.h"
#include "dialogs/common/WaitCursor.h"
#include "links/AttachEmail.h"
#include "links/ItemLookup.h"
#include "links/PublicModules.h"
#include "platform/ado/Recordset.h"
#include "store/ErrorTrap.h"

namespace velmora::dialogs {

namespace {

// How a correspondent is listed: the part before an at sign, or the trimmed name, unquoted.
std::string displayName(const std::string& name) {
    const auto at = name.find('@');
    const std::string base = at == std::string::npos ? trimmed(name) : name.substr(0, at);
    return stripQuotes(base);
}

} // namespace

MailContactsTab::MailContactsTab(DialogContext& state, controls::Form& form, AttachedMail& mail)
    : MailPickerTab(state, form, mail,
                    {"ListViewLeft", "ListViewRight", "AttachCFrame", "AttachEFrame",
                     "cmdMoveFields", contactIcon, ListLayout::contacts},
                    [this](int, MoveResult) { contactsMoved(); }),
      conProp_(form.get<controls::CommandButton>("ConProp")), attach_(form, "cmdMailtoContact"),
      share_(form, "shareEmail"), includeAttachment_(form, "includeMailAttachment"),
      deleteMail_(form, "deleteMailForContact"), done_(form, "done") {}

DialogSearch& MailContactsTab::contactSearch() {
    if (!search_) search_ = std::make_unique<DialogSearch>(state_);
    return *search_;
}

void MailContactsTab::showLayout(bool chinese) {
    for (LayoutPair* pair : {&attach_, &share_, &includeAttachment_, &deleteMail_, &done_})
        pair->showLayout(chinese);
    showPicker(chinese);
}

// ---- Opening ----

void MailContactsTab::addCandidate(std::string name, const std::string& address) {
    name = displayName(name);
    host::ItemPtr contact = findContactByMail(state_, name, address);
    if (contact && isInDefaultFolder(state_, contact, kindContact)) {
        AddListRow(left_, contactIcon, contact->EntryID(), contact->Text("FullName"),
                   contact->Text("Email1Address"),
                   getItemCreator(state_, kindContact, contact->EntryID()));
        return;
    }
    AddListRow(left_, contactIcon, "-1", name, address, state_.currentUser);
}

void MailContactsTab::addMailCandidates(bool stored) {
    host::Item& mail = *mail_.item;
    if (stored && mail.Flag("Sent")) {
        const std::string address = stripQuotes(mail_.links().getSenderAddress(mail_.id));
        addCandidate(mail.Text("SenderName"), address);
    }
    auto& recipients = mail.Recipients();
    for (int i = 1; i <= recipients.Count(); ++i) {
        const host::Recipient recipient = recipients.Item(i);
        addCandidate(recipient.Name, recipient.Address);
    }
}

MailContactsTab::RecordedLinks MailContactsTab::addRecordedLinks() {
    RecordedLinks found;
    ado::Recordset rs;
    rs.Open("select OutlookContactID,PrivateAccess,ContactId from noteTb where "
            "OutlookAttachID= '" +
                ado::sqlText(mail_.id) + "' and MakeDelete = false and (creator='" +
                ado::sqlText(state_.currentUser) + "' Or privateAccess =0)",
            state_.connection());
    found.recorded = !rs.IsEOF();
    if (found.recorded) found.shared = !rs.Fields("PrivateAccess").Value().toBool();
    addLinkedRows(state_, rs, "OutlookContactID", "ContactId", kindContact, {&left_, &right_});
    ado::Recordset attached;
    attached.Open("select battachment,OutlookAttachID from noteTb where outlookAttachID='" +
                      ado::sqlText(mail_.id) + "' and bAttachment=true",
                  state_.connection());
    found.withAttachments = !attached.IsEOF();
    return found;
}

void MailContactsTab::addOutlookLinks() {
    auto& links = mail_.item->Links();
    for (int i = 1; i <= links.Count(); ++i)
        ignoreErrors([&] {
            auto contact = links.Item(i);
            // A link to another kind of item is no contact to offer.
            if (!contact || contact->Class() != host::olContact ||
                !isInDefaultFolder(state_, contact, kindContact))
                return;
            AddListRow(left_, contactIcon, contact->EntryID(), contact->Text("FullName"),
                       contact->Text("Email1Address"),
                       getItemCreator(state_, kindContact, contact->EntryID()));
        });
}

void MailContactsTab::iniAttachEmailToContact(bool stored) {
    for (auto* list : {&left_, &right_})
        list->ListItems().Clear();
    addMailCandidates(stored);
    RecordedLinks found;
    if (mail_.item->Links().Count() > 0) found = addRecordedLinks();
    if (!found.recorded) addOutlookLinks();
    const bool any = right_.ListItems().Count() > 0;
    setButtonStatus(any);
    const bool chinese = state_.isChinese;
    if (any) {
        share_.tick(chinese, found.shared);
        includeAttachment_.tick(chinese, found.withAttachments);
    }
    attach_.setOption(chinese, false);
    done_.setOption(chinese, false);
}

// ---- Options and moves ----

void MailContactsTab::setButtonStatus(bool enabled) {
    const bool chinese = state_.isChinese;
    share_.setOption(chinese, enabled);
    includeAttachment_.setOption(chinese, enabled && mail_.hasAttachments());
    deleteMail_.setOption(chinese, enabled && !mail_.isNew());
    conProp_.setEnabled(enabled);
}

void MailContactsTab::optionChanged() {
    attach_.setOption(state_.isChinese, true);
    done_.setOption(state_.isChinese, false);
}

void MailContactsTab::contactsMoved() {
    setButtonStatus(right_.ListItems().Count() > 0);
    optionChanged();
}

// ---- Attaching ----

void MailContactsTab::cmdMailtoContact_Click() {
    errorTrap(state_, "cmdMailtoContact :", [&] { attachMailToContactClick(); });
}

bool MailContactsTab::settleRowKey(int row, const host::FolderPtr& folder) {
    auto& rows = right_.ListItems();
    controls::ListItem& item = rows.Item(row);
    if (!IsGeneratedRowKey(item.Key())) {
        host::ItemPtr contact;
        ignoreErrors([&] {
            contact = state_.application().GetNamespace("MAPI").GetItemFromID(
                item.Key(), folder ? folder->StoreID() : std::string());
        });
        if (!contact) item.setKey(GenerateRowKey(&right_));
    }
    if (IsGeneratedRowKey(item.Key()))
        if (auto found = findContactByMail(state_, item.SubItems(1), item.SubItems(2))) {
            // The contact is listed already under its own key: one row is enough.
            if (rows.contains(found->EntryID())) {
                rows.Remove(row);
                return false;
            }
            item.setKey(found->EntryID());
        }
    if (!IsGeneratedRowKey(item.Key())) return true;
    errorTrap(state_, "addNewCotact :", [&] {
        if (!folder) throw host::HostError("The Contacts folder is not available");
        auto contact = folder->Items()->Add(host::olContactItem);
        contact->Set("FullName", item.SubItems(1));
        contact->Set("Email1Address", item.SubItems(2));
        contact->Save();
        item.setKey(contact->EntryID());
    });
    return true;
}

void MailContactsTab::attachMailToContactClick() {
    if (!mail_.loaded()) return;
    WaitCursor wait(state_);
    attach_.setOption(state_.isChinese, false);
    host::Item& mail = *mail_.item;
    auto& links = mail.Links();
    auto& rows = right_.ListItems();
    if (rows.Count() == 0 && links.Count() == 0) {
        done_.setOption(state_.isChinese, true);
        return;
    }

    bool remove = false;
    // "Done!" is the user's word that the links were recorded, so it waits for the rows.
    const bool written = completedCleanly(state_, [&] {
        state_.skipNextItemEvent = true;
        removeAllLinks(links);
        ignoreErrorsAndUndo(state_, "attaching a mail: saving it", [&] { mail.Save(); });

        const auto folder = getDefaultFolder(state_, kindContact);
        for (int i = 1; i <= rows.Count(); ++i)
            ignoreErrorsAndUndo(state_, "attaching a mail: a chosen contact", [&] {
                if (!settleRowKey(i, folder)) --i;
            });
        linkListedContacts(state_, links, right_, folder ? folder->StoreID() : std::string());
        state_.skipNextItemEvent = true;
        mail.Save();

        const bool chinese = state_.isChinese;
        remove = deleteMail_.ticked(chinese);
        mail_.links().emailToContact(mail, &right_, mail_.isNew(), share_.ticked(chinese),
                                     includeAttachment_.ticked(chinese), remove);
    });
    if (written) done_.setOption(state_.isChinese, true);
    if (remove) form_.unload();
}

// ---- Opening a chosen contact ----

void MailContactsTab::showChosenContact() {
    errorTrap(state_, "as15>>", [&] {
        controls::ListItem* row = right_.SelectedItem();
        if (!row) return;
        host::ItemPtr contact;
        if (!IsGeneratedRowKey(row->Key()))
            ignoreErrors([&] {
                const auto folder = getDefaultFolder(state_, kindContact);
                contact = state_.application().GetNamespace("MAPI").GetItemFromID(
                    row->Key(), folder ? folder->StoreID() : std::string());
            });
        if (!contact) contact = findContactByMail(state_, row->SubItems(1), row->SubItems(2));
        if (!contact) {
            // Not in Outlook yet: offered unsaved, for the user to complete and keep.
            contact = state_.application().CreateItem(host::olContactItem);
            contact->Set("FullName", row->SubItems(1));
            contact->Set("Email1Address", row->SubItems(2));
        }
        contact->Display();
    });
}

void MailContactsTab::CommandSearch_Click() {
    state_.searchTarget = &left_;
    contactSearch().Show(true, &form_);
}

} // namespace velmora::dialogs
