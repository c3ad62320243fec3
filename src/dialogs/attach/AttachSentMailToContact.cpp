// The attach-mail dialog's sequences: opening, the two language layouts, the contacts tab, the
// events tab, the quick appointment and the close that sends a mail still being composed.
#include "dialogs/attach/AttachSentMailToContact.h"

#include "dialogs/common/ListFillers.h"
#include "dialogs/common/ListLayouts.h"
#include "dialogs/common/RowIcons.h"
#include "dialogs/common/WaitCursor.h"
#include "dialogs/share/ShareModel.h"
#include "links/AttachEmail.h"
#include "links/ItemLookup.h"
#include "links/PublicModules.h"
#include "platform/ado/Recordset.h"
#include "platform/host/DateText.h"
#include "platform/text/Utf8Text.h"
#include "platform/windows/MessageBox.h"
#include "store/ErrorTrap.h"
#include "store/StoreSession.h"

#include <algorithm>
#include <charconv>
#include <chrono>

namespace velmora::dialogs {

namespace {

constexpr int listWidth = 4800;

std::string trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(" \t") - first + 1));
}

// How a correspondent is listed: the part before an at sign, or the trimmed name, unquoted.
std::string displayName(const std::string& name) {
    const auto at = name.find('@');
    const std::string base = at == std::string::npos ? trimmed(name) : name.substr(0, at);
    return stripQuotes(base);
}

// The user's short date: year, month and day without leading zeros, as the system writes it.
std::string shortDate(std::chrono::sys_days day) {
    const std::chrono::year_month_day ymd{day};
    return std::to_string(static_cast<int>(ymd.year())) + "-" +
           std::to_string(static_cast<unsigned>(ymd.month())) + "-" +
           std::to_string(static_cast<unsigned>(ymd.day()));
}

// Calendar arithmetic of the unit list: days, weeks, or months with the day kept inside the
// target month (31 January plus one month is the last day of February).
std::chrono::sys_days addUnits(std::chrono::sys_days day, int unit, int count) {
    using namespace std::chrono;
    if (unit == 0) return day + days(count);
    if (unit == 1) return day + weeks(count);
    year_month_day ymd{day};
    const year_month target = year_month(ymd.year(), ymd.month()) + months(count);
    const auto last = year_month_day_last(target.year(), month_day_last(target.month())).day();
    return sys_days(target / (ymd.day() > last ? last : ymd.day()));
}

const char* const unitTexts[2][3] = {{"day", "week", "Month"}, {"天", "周", "月"}};

} // namespace

AttachSentMailToContact::AttachSentMailToContact(DialogContext& state)
    : state_(state), form_("AttachSentMailToContact"),
      tab_(form_.add<controls::TabControl>("SSTab1", -1, 3)),
      left_(form_.add<controls::ListView>("ListViewLeft")),
      right_(form_.add<controls::ListView>("ListViewRight")),
      contactSearchButton_(form_.add<controls::CommandButton>("CommandSearch")),
      conProp_(form_.add<controls::CommandButton>("ConProp")),
      cFrame_(form_.add<controls::Frame>("AttachCFrame")),
      eFrame_(form_.add<controls::Frame>("AttachEFrame")),
      leftPlus_(form_.add<controls::ListView>("ListViewLeftPlus")),
      rightPlus_(form_.add<controls::ListView>("ListViewRightPlus")),
      eventSearchButton_(form_.add<controls::CommandButton>("cmdSearchPlus")),
      prop2_(form_.add<controls::CommandButton>("cmdProp2")),
      mailtoEvent_(form_.add<controls::CommandButton>("cmdMailtoEvent")),
      doneTab2_(form_.add<controls::Label>("doneTab2")),
      cEventFrame_(form_.add<controls::Frame>("AttachCEventFrame")),
      eEventFrame_(form_.add<controls::Frame>("AttachEEventFrame")),
      regarding_(form_.add<controls::TextBox>("regarding")),
      optionIn_(form_.add<controls::OptionButton>("OptionIn")),
      optionOn_(form_.add<controls::OptionButton>("OptionOn")),
      inTime_(form_.add<controls::TextBox>("inTime")),
      inDays_(form_.add<controls::ComboBox>("inDays")),
      onTime_(form_.add<controls::DatePicker>("onTime")),
      atFrameC_(form_.add<controls::Frame>("atFrame", 0)),
      atFrameE_(form_.add<controls::Frame>("atFrame", 1)),
      atTimeC_(form_.add<controls::ComboBox>("atTime", 0)),
      atTimeE_(form_.add<controls::ComboBox>("atTime", 1)),
      label1_(form_.add<controls::Label>("Label1")), label2_(form_.add<controls::Label>("Label2")),
      setApp_(form_.add<controls::CommandButton>("cmdSetApp")),
      detailC_(form_.add<controls::CommandButton>("cmdDetail", 0)),
      detailE_(form_.add<controls::CommandButton>("cmdDetail", 1)),
      share_(form_.add<controls::CommandButton>("cmdShare")),
      showAppoint_(form_.add<controls::Label>("showAppoint")),
      close_(form_.add<controls::CommandButton>("cmdClose")), contacts_(left_, right_, contactIcon),
      events_(leftPlus_, rightPlus_, eventIcon) {
    auto pair = [&]<typename T>(std::type_identity<T>, const char* name, const char* chinese,
                                const char* english) {
        auto& c = form_.add<T>(name);
        auto& e = form_.add<T>(std::string(name) + "1");
        c.setCaption(chinese);
        e.setCaption(english);
        return Pair{&c, &e};
    };
    using Button = std::type_identity<controls::CommandButton>;
    using Check = std::type_identity<controls::CheckBox>;
    using Text = std::type_identity<controls::Label>;
    attachContacts_ = pair(Button{}, "cmdMailtoContact", "确定 ", "Attach");
    shareEmail_ = pair(Check{}, "shareEmail", "随联系人分享", "Share with contact");
    includeAttachment_ = pair(Check{}, "includeMailAttachment", "含附件", "include Attachment");
    deleteMail_ = pair(Check{}, "deleteMailForContact", "删除邮件", "Delete mail");
    done_ = pair(Text{}, "done", "绑定成功!", "Done!");
    deleteMailForEvent_ = pair(Check{}, "deleteMailForEvent", "删除邮件", "Delete Email");
    includeAttachmentForEvent_ =
        pair(Check{}, "includeAttachmentForEvent", "含附件", "Include Attachment");

    // The form's own captions are the Chinese ones; English ones are set at load.
    form_.setCaption("绑定邮件");
    tab_.setTabCaption(0, "绑定到联系人");
    tab_.setTabCaption(1, "绑定到事件");
    tab_.setTabCaption(2, "绑定到新事件");
    contactSearchButton_.setCaption("查找联系人...");
    conProp_.setCaption("属性...");
    close_.setCaption("关闭");
    eventSearchButton_.setCaption("查找事件...");
    prop2_.setCaption("属性...");
    mailtoEvent_.setCaption("确定");
    doneTab2_.setCaption("绑定成功!");
    label2_.setCaption("事件主题");
    optionIn_.setCaption("  在");
    optionOn_.setCaption("  在");
    label1_.setCaption("之后");
    form_.add<controls::Label>("Label3", 0).setCaption("时间为 ");
    form_.add<controls::Label>("Label3", 1).setCaption("at ");
    setApp_.setCaption("生成新事件");
    share_.setCaption("分享...");
    detailC_.setCaption("详细设置. . .");
    detailE_.setCaption("Detail. . .");
    optionIn_.setValue(true);
    inTime_.setText("0");
    lastCount_ = "0";
    for (auto* list : {&left_, &right_, &leftPlus_, &rightPlus_})
        list->setWidth(listWidth);

    contacts_.wireOn(form_, "cmdMoveFields", [this](int, MoveResult) { contactsChanged(); });
    events_.wireOn(form_, "cmdMoveFieldsPlus", [this](int, MoveResult) { eventsChanged(); });
    auto on = [this](host::EventSource<>& source, std::function<void()> handler) {
        subscriptions_.push_back(source.subscribe(std::move(handler)));
    };
    // The English layout's control does what its Chinese twin does.
    auto both = [&]<typename T>(std::type_identity<T>, Pair pair, std::function<void()> handler) {
        on(static_cast<T*>(pair.chinese)->Click, handler);
        on(static_cast<T*>(pair.english)->Click, handler);
    };
    subscriptions_.push_back(form_.Load.subscribe([this] { onLoad(); }));
    subscriptions_.push_back(form_.Unload.subscribe([this](int&) { onUnload(); }));
    subscriptions_.push_back(closeOnEscapeFromAnyControl(form_));
    on(close_.Click, [this] { form_.unload(); });

    // Contacts tab.
    both(Button{}, attachContacts_,
         [this] { errorTrap(state_, "cmdMailtoContact :", [&] { attachMailToContactClick(); }); });
    for (Pair option : {shareEmail_, includeAttachment_, deleteMail_})
        both(Check{}, option, [this] {
            setOption(attachContacts_, true);
            setOption(done_, false);
        });
    on(contactSearchButton_.Click, [this] {
        state_.searchTarget = &left_;
        contactSearch().Show(true, &form_);
    });
    on(conProp_.Click, [this] { showChosenContact(); });
    on(right_.DblClick, [this] { showChosenContact(); });

    // Events tab.
    for (Pair option : {deleteMailForEvent_, includeAttachmentForEvent_})
        both(Check{}, option, [this] { eventsChanged(); });
    on(eventSearchButton_.Click, [this] {
        state_.searchTarget = &leftPlus_;
        eventSearch().Show(true, &form_);
    });
    on(mailtoEvent_.Click,
       [this] { errorTrap(state_, "cmdMailtoEvent :", [&] { attachMailToEventClick(); }); });
    on(prop2_.Click, [this] { showChosenEvent(); });
    on(rightPlus_.DblClick, [this] {
        if (rightPlus_.SelectedItem()) showChosenEvent();
    });

    // Quick appointment tab.
    on(optionIn_.Click, [this] {
        onTime_.setEnabled(false);
        inTime_.setEnabled(true);
        inDays_.setEnabled(true);
    });
    on(optionOn_.Click, [this] {
        onTime_.setEnabled(true);
        inTime_.setEnabled(false);
        inDays_.setEnabled(false);
    });
    on(inTime_.Change, [this] {
        if (text::characterCount(inTime_.Text()) > 5)
            inTime_.setText(lastCount_);
        else
            lastCount_ = inTime_.Text();
    });
    on(inDays_.Click, [this] { lastUnit_ = inDays_.ListIndex(); });
    on(inDays_.Change, [this] {
        if (lastUnit_ >= 0 && lastUnit_ < inDays_.ListCount() &&
            inDays_.Text() != inDays_.List(lastUnit_))
            inDays_.setText(inDays_.List(lastUnit_));
    });
    for (auto* combo : {&atTimeC_, &atTimeE_}) {
        on(combo->Click, [this, combo] { lastTime_ = combo->ListIndex(); });
        on(combo->Change, [this] { atTimeChanged(); });
    }
    on(setApp_.Click, [this] { setAppClick(); });
    for (auto* detail : {&detailC_, &detailE_})
        on(detail->Click, [this] {
            if (created_) ignoreErrors([&] { created_->Display(); });
        });
    on(share_.Click, [this] {
        errorTrap(state_, "as1>>", [&] {
            if (!created_) return;
            shareDialog().setAppointmentObj(created_->EntryID(), mailId_);
            shareDialog().Show(true, &form_);
        });
    });
    form_.keepAsDesigned();
}

void AttachSentMailToContact::setMailObj(host::ItemPtr mail, std::string mailId) {
    mail_ = std::move(mail);
    mailId_ = std::move(mailId);
    handedOver_ = true;
}

DialogSearch& AttachSentMailToContact::contactSearch() {
    if (!contactSearch_) contactSearch_ = std::make_unique<DialogSearch>(state_);
    return *contactSearch_;
}

DialogSearchPlus& AttachSentMailToContact::eventSearch() {
    if (!eventSearch_) eventSearch_ = std::make_unique<DialogSearchPlus>(state_);
    return *eventSearch_;
}

shareEmailGroups& AttachSentMailToContact::shareDialog() {
    if (!shareDialog_) shareDialog_ = std::make_unique<shareEmailGroups>(state_);
    return *shareDialog_;
}

template <typename T> T& AttachSentMailToContact::visible(Pair pair) const {
    return static_cast<T&>(state_.isChinese ? *pair.chinese : *pair.english);
}

bool AttachSentMailToContact::ticked(Pair pair) const {
    return visible<controls::CheckBox>(pair).checked();
}

// A disabled option is also unticked, so that a value the user cannot see never reaches the
// engine.
void AttachSentMailToContact::setOption(Pair pair, bool enabled) {
    auto& control = visible<controls::Control>(pair);
    if (auto* label = dynamic_cast<controls::Label*>(&control)) {
        label->setVisible(enabled);
        return;
    }
    control.setEnabled(enabled);
    if (auto* check = dynamic_cast<controls::CheckBox*>(&control); check && !enabled)
        check->setValue(controls::vbUnchecked);
}

void AttachSentMailToContact::tick(Pair pair, bool on) {
    auto& check = visible<controls::CheckBox>(pair);
    if (check.Enabled()) check.setValue(on ? controls::vbChecked : controls::vbUnchecked);
}

AttachEmail& AttachSentMailToContact::mailLinks() const {
    if (!state_.mailLinks) throw std::runtime_error("The mail links are not ready");
    return *state_.mailLinks;
}

bool AttachSentMailToContact::mailLoaded() const {
    if (mail_) return true;
    showExclamation(state_, state_.isChinese ? "邮件未能载入，请关闭此窗口后重新打开。"
                                             : "The mail could not be loaded. Close this window "
                                               "and open it again.");
    return false;
}

bool AttachSentMailToContact::isNewMail() const {
    return mailId_.find("OutlookID") != std::string::npos;
}

bool AttachSentMailToContact::hasAttachments() const {
    bool any = false;
    ignoreErrors([&] { any = mail_ && mail_->Attachments().Count() > 0; });
    return any;
}

void AttachSentMailToContact::onLoad() {
    // The controls come back as designed; the dialog's own state of a previous opening goes
    // too, so that a failed load can never act on the mail opened before.
    if (!handedOver_) {
        mail_.reset();
        mailId_.clear();
    }
    created_.reset();
    eventsChanged_ = false;
    quickInitialising_ = false;
    lastUnit_ = 0;
    lastTime_ = -1;
    lastCount_ = inTime_.Text();

    state_.activeDialog = dialogAttachMail;
    const int saved = state_.ui.mailTab;
    tab_.setTab(saved >= 0 && saved < tab_.Tabs() ? saved : 0);
    state_.currentUser = getCurrentUser(state_);
    setCaptions();
    errorTrap(state_, "as2>>", [&] {
        if (!handedOver_) {
            auto explorer = state_.application().ActiveExplorer();
            if (!explorer || explorer->Selection().Count() == 0)
                throw host::HostError("No mail is selected");
            host::ItemPtr selected = explorer->Selection().Item(1);
            if (selected->Flag("UnRead")) selected->Set("UnRead", false);
            std::string id = selected->EntryID();
            mail_ = std::move(selected);
            mailId_ = std::move(id);
        }
        iniAttachEmailToContact(!isNewMail());
        iniQuickBuildAppointment(mail_->Text("Subject"));
        iniAttachMailToEvent();
    });
}

void AttachSentMailToContact::setCaptions() {
    const bool chinese = state_.isChinese;
    for (Pair pair : {attachContacts_, shareEmail_, includeAttachment_, deleteMail_, done_,
                      deleteMailForEvent_, includeAttachmentForEvent_}) {
        pair.chinese->setVisible(chinese);
        pair.english->setVisible(!chinese);
    }
    cFrame_.setVisible(chinese);
    eFrame_.setVisible(!chinese);
    cEventFrame_.setVisible(chinese);
    eEventFrame_.setVisible(!chinese);
    for (int i : {0, 1}) {
        const bool shown = (i == 0) == chinese;
        form_.get<controls::Frame>("atFrame", i).setVisible(shown);
        form_.get<controls::ComboBox>("atTime", i).setVisible(shown);
        form_.get<controls::Label>("Label3", i).setVisible(shown);
        form_.get<controls::CommandButton>("cmdDetail", i).setVisible(shown);
    }
    for (auto* list : {&left_, &right_})
        applyListLayout(*list, ListLayout::contacts, state_);
    for (auto* list : {&leftPlus_, &rightPlus_})
        applyListLayout(*list, ListLayout::events, state_);
    if (chinese) return;
    tab_.setTabCaption(0, "Attach to Contact");
    tab_.setTabCaption(1, "Attach to Event");
    tab_.setTabCaption(2, "Quick Create Event");
    contactSearchButton_.setCaption("Search for contact...");
    conProp_.setCaption("Property...");
    close_.setCaption("Close");
    eventSearchButton_.setCaption("Search for Event. . .");
    prop2_.setCaption("Properties. . .");
    mailtoEvent_.setCaption("Attach");
    doneTab2_.setCaption("Done!");
    label2_.setCaption("Regarding");
    optionIn_.setCaption("  in");
    optionOn_.setCaption("  on");
    label1_.setCaption("  ");
    setApp_.setCaption("Set appointment");
    share_.setCaption("Sharing. . .");
}

// ---- Contacts tab ----

void AttachSentMailToContact::addCandidate(std::string name, const std::string& address) {
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

void AttachSentMailToContact::iniAttachEmailToContact(bool stored) {
    for (auto* list : {&left_, &right_})
        list->ListItems().Clear();
    if (stored && mail_->Flag("Sent")) {
        const std::string address = stripQuotes(mailLinks().getSenderAddress(mailId_));
        addCandidate(mail_->Text("SenderName"), address);
    }
    auto& recipients = mail_->Recipients();
    for (int i = 1; i <= recipients.Count(); ++i) {
        const host::Recipient recipient = recipients.Item(i);
        addCandidate(recipient.Name, recipient.Address);
    }

    auto& links = mail_->Links();
    bool recorded = false, shared = false, withAttachments = false;
    if (links.Count() > 0) {
        ado::Recordset rs;
        rs.Open("select OutlookContactID,PrivateAccess,ContactId from noteTb where "
                "OutlookAttachID= '" +
                    ado::sqlText(mailId_) + "' and MakeDelete = false and (creator='" +
                    ado::sqlText(state_.currentUser) + "' Or privateAccess =0)",
                state_.connection());
        recorded = !rs.IsEOF();
        if (recorded) shared = !rs.Fields("PrivateAccess").Value().toBool();
        addLinkedRows(state_, rs, "OutlookContactID", "ContactId", kindContact, {&left_, &right_});
        ado::Recordset attached;
        attached.Open("select battachment,OutlookAttachID from noteTb where outlookAttachID='" +
                          ado::sqlText(mailId_) + "' and bAttachment=true",
                      state_.connection());
        withAttachments = !attached.IsEOF();
    }
    if (!recorded)
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
    const bool any = right_.ListItems().Count() > 0;
    setContactButtons(any);
    if (any) {
        tick(shareEmail_, shared);
        tick(includeAttachment_, withAttachments);
    }
    setOption(attachContacts_, false);
    setOption(done_, false);
}

void AttachSentMailToContact::setContactButtons(bool enabled) {
    setOption(shareEmail_, enabled);
    setOption(includeAttachment_, enabled && hasAttachments());
    setOption(deleteMail_, enabled && !isNewMail());
    conProp_.setEnabled(enabled);
}

void AttachSentMailToContact::contactsChanged() {
    setContactButtons(right_.ListItems().Count() > 0);
    setOption(attachContacts_, true);
    setOption(done_, false);
}

void AttachSentMailToContact::attachMailToContactClick() {
    if (!mailLoaded()) return;
    WaitCursor wait(state_);
    setOption(attachContacts_, false);
    setOption(done_, true);
    auto& links = mail_->Links();
    auto& rows = right_.ListItems();
    if (rows.Count() == 0 && links.Count() == 0) return;

    state_.skipNextItemEvent = true;
    for (int n = links.Count(); n > 0; --n)
        ignoreErrors([&] { links.Remove(1); });
    ignoreErrors([&] { mail_->Save(); });

    const auto folder = getDefaultFolder(state_, kindContact);
    const std::string storeId = folder ? folder->StoreID() : std::string();
    auto& ns = state_.application().GetNamespace("MAPI");
    for (int i = 1; i <= rows.Count(); ++i) {
        ignoreErrors([&] {
            controls::ListItem& row = rows.Item(i);
            if (!IsGeneratedRowKey(row.Key())) {
                host::ItemPtr contact;
                ignoreErrors([&] { contact = ns.GetItemFromID(row.Key(), storeId); });
                if (!contact) row.setKey(GenerateRowKey(&right_));
            }
            if (IsGeneratedRowKey(row.Key())) {
                if (auto found = findContactByMail(state_, row.SubItems(1), row.SubItems(2))) {
                    // The contact is listed already under its own key: one row is enough.
                    if (rows.contains(found->EntryID())) {
                        rows.Remove(i--);
                        return;
                    }
                    row.setKey(found->EntryID());
                }
            }
            if (!IsGeneratedRowKey(row.Key())) return;
            errorTrap(state_, "addNewCotact :", [&] {
                if (!folder) throw host::HostError("The Contacts folder is not available");
                auto contact = folder->Items()->Add(host::olContactItem);
                contact->Set("FullName", row.SubItems(1));
                contact->Set("Email1Address", row.SubItems(2));
                contact->Save();
                row.setKey(contact->EntryID());
            });
        });
    }
    for (int i = 1; i <= rows.Count(); ++i)
        ignoreErrors([&] {
            const std::string& key = rows.Item(i).Key();
            if (IsGeneratedRowKey(key)) return;
            if (auto contact = ns.GetItemFromID(key, storeId)) links.Add(contact);
        });
    state_.skipNextItemEvent = true;
    mail_->Save();

    const bool remove = ticked(deleteMail_);
    mailLinks().emailToContact(*mail_, &right_, isNewMail(), ticked(shareEmail_),
                               ticked(includeAttachment_), remove);
    if (remove) form_.unload();
}

void AttachSentMailToContact::showChosenContact() {
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

// ---- Events tab ----

void AttachSentMailToContact::iniAttachMailToEvent() {
    errorTrap(state_, "iniAttachMailToEvent :", [&] {
        for (auto* list : {&leftPlus_, &rightPlus_})
            list->ListItems().Clear();
        ado::Recordset rs;
        rs.Open("Select OutlookApptID,bAttachment,contactId from ToEvent where OutlookEmailID= '" +
                    ado::sqlText(mailId_) + "' and makedelete =false",
                state_.connection());
        const bool withAttachments = !rs.IsEOF() && rs.Fields("bAttachment").Value().toBool();
        addLinkedRows(state_, rs, "OutlookApptID", "contactId", kindAppointment,
                      {&leftPlus_, &rightPlus_});
        setEventButtons(rightPlus_.ListItems().Count() > 0);
        tick(includeAttachmentForEvent_, withAttachments);
        // Ticking from the store raised the option's Click; that is no change of the user's.
        eventsChanged_ = false;
        mailtoEvent_.setEnabled(false);
        doneTab2_.setVisible(false);
    });
}

void AttachSentMailToContact::setEventButtons(bool enabled) {
    setOption(includeAttachmentForEvent_, enabled && hasAttachments());
    setOption(deleteMailForEvent_, enabled && !isNewMail());
    prop2_.setEnabled(enabled);
}

void AttachSentMailToContact::eventsChanged() {
    eventsChanged_ = true;
    mailtoEvent_.setEnabled(true);
    doneTab2_.setVisible(false);
    // Options a user can tick follow the list, as on the contacts tab.
    const bool any = rightPlus_.ListItems().Count() > 0;
    if (prop2_.Enabled() != any) setEventButtons(any);
}

void AttachSentMailToContact::attachMailToEventClick() {
    if (!mailLoaded()) return;
    WaitCursor wait(state_);
    mailtoEvent_.setEnabled(false);
    if (!eventsChanged_) {
        doneTab2_.setVisible(true);
        return;
    }
    eventsChanged_ = false;
    // A mail sent from this dialog may have reached Sent Items meanwhile: its rows are there.
    const std::string key = ado::sqlText(mailLinks().settledKey(mailId_));
    {
        ado::Recordset rs;
        rs.Open("Select OutlookApptID from toEvent where outlookEmailID= '" + key + "'",
                state_.connection(), ado::adOpenKeyset, ado::adLockPessimistic);
        for (; !rs.IsEOF(); rs.MoveNext()) {
            const std::string appointment = rs.Fields("OutlookApptID").Value().text();
            if (appointment.size() > 40) touchSharedItem(state_, 1, appointment);
            rs.Delete();
        }
    }
    const bool include = ticked(includeAttachmentForEvent_);
    if (hasAttachments() && !include && !mailLinks().isAttachNoteTb(mailId_))
        mailLinks().removeMailAttachments(mailId_);

    auto& rows = rightPlus_.ListItems();
    for (int i = 1; i <= rows.Count(); ++i) {
        const std::string appointment = rows.Item(i).Key();
        const bool written = mailLinks().emailToEvent(*mail_, appointment, mailId_, include);
        if (i == 1 && written && include && hasAttachments())
            mailLinks().saveMailAttachments(*mail_, mailId_);
        if (written) touchSharedItem(state_, 1, appointment);
    }
    if (rows.Count() == 0) {
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
    doneTab2_.setVisible(true);
    if (!ticked(deleteMailForEvent_)) return;
    ignoreErrors([&] { mail_->Delete(); });
    form_.unload();
}

void AttachSentMailToContact::showChosenEvent() {
    controls::ListItem* row = rightPlus_.SelectedItem();
    if (!row) {
        showInformation(state_,
                        state_.isChinese ? "请先择一个要显示的日历！" : "Please a calendar item!");
        return;
    }
    WaitCursor wait(state_);
    showItem(state_, row->Key(), kindAppointment);
}

// ---- Quick appointment tab ----

controls::ComboBox& AttachSentMailToContact::atTime() const {
    return state_.isChinese ? atTimeC_ : atTimeE_;
}

void AttachSentMailToContact::fillUnits() {
    inDays_.Clear();
    for (const char* unit : unitTexts[state_.isChinese ? 1 : 0])
        inDays_.AddItem(unit);
}

void AttachSentMailToContact::iniQuickBuildAppointment(const std::string& subject) {
    errorTrap(state_, "as12>>", [&] {
        quickInitialising_ = true;
        regarding_.setText(subject);
        fillUnits();
        onTime_.setEnabled(false);
        share_.setEnabled(false);
        inTime_.setEnabled(true);
        inDays_.setEnabled(true);
        optionIn_.setValue(true);
        setApp_.setEnabled(true);
        detailC_.setEnabled(false);
        detailE_.setEnabled(false);
        atTime().Clear();
        lastTime_ = -1;
        fillTimeCombo(state_, atTime());
        lastUnit_ = 0;
        inDays_.setListIndex(0);
        showAppoint_.setVisible(false);
        onTime_.setValue(std::chrono::floor<std::chrono::days>(state_.now()));
    });
}

// The time list takes only its own entries: while the tab is prepared the preselected text is
// matched to its entry; afterwards a typed text is replaced by the last chosen entry.
void AttachSentMailToContact::atTimeChanged() {
    controls::ComboBox& combo = atTime();
    if (quickInitialising_) {
        for (int i = 0; i < combo.ListCount(); ++i)
            if (combo.List(i) == combo.Text()) {
                lastTime_ = i;
                quickInitialising_ = false;
                combo.setListIndex(i);
                return;
            }
        return;
    }
    if (lastTime_ >= 0 && lastTime_ < combo.ListCount() && combo.Text() != combo.List(lastTime_))
        combo.setText(combo.List(lastTime_));
}

std::optional<int> AttachSentMailToContact::countFromText() {
    const std::string text = trimmed(inTime_.Text());
    const std::string unit = inDays_.Text();
    int count = 0;
    const char* end = text.data() + text.size();
    const char* begin = text.data() + (text.starts_with('+') ? 1 : 0);
    const auto [last, error] = std::from_chars(begin, end, count);
    std::string problem;
    if (text.empty() || error != std::errc{} || last != end)
        problem = "请输入正确的" + unit + "数值！";
    else if (count > 100)
        problem = "输入的" + trimmed(unit) + "值不能大于100！";
    else if (count < 0)
        problem = "输入的" + trimmed(unit) + "值不能小于0！";
    if (problem.empty()) return count;
    showExclamation(state_, state_.isChinese ? problem : "Please input a correct number.");
    return std::nullopt;
}

void AttachSentMailToContact::setAppClick() {
    if (!mailLoaded()) return;
    int count = 0;
    if (optionIn_.Value()) {
        const auto checked = countFromText();
        if (!checked) return;
        count = *checked;
    }
    if (trimmed(regarding_.Text()).empty()) {
        showExclamation(state_, state_.isChinese ? "事件的主题不能为空。"
                                                 : "The regarding is can't space.");
        return;
    }
    bool exists = false;
    if (!errorTrap(state_, "as13>",
                   [&] { exists = appointmentSubjectExists(state_, regarding_.Text()); }))
        return;
    if (exists && !askYesNo(state_,
                            state_.isChinese
                                ? "已存在相同主题的事件，继续创建吗？"
                                : "It is found a  event of same subject , do you want to continue?",
                            windows::vbInformation))
        return;
    if (created_) return;
    if (!buildNewAppointment(count)) return;
    errorTrap(state_, "as13>", [&] { onAppointmentCreated(); });
}

bool AttachSentMailToContact::buildNewAppointment(int count) {
    return errorTrap(state_, "as13>", [&] {
        const auto folder = getDefaultFolder(state_, kindAppointment);
        if (!folder) throw host::HostError("The Calendar folder is not available");
        auto appointment = folder->Items()->Add(host::olAppointmentItem);
        if (appointment->Flag("IsRecurring")) appointment->ClearRecurrencePattern();
        appointment->Set("Subject", regarding_.Text());
        const std::string time = atTime().Text();
        const auto minutes = timeEntryMinutes(time);
        if (!minutes) throw host::HostError("Type mismatch: \"" + time + "\" is not a time");
        const bool chinese = state_.isChinese;
        std::chrono::sys_days day;
        std::string summary;
        if (optionIn_.Value()) {
            const int unit = std::max(inDays_.ListIndex(), 0);
            day = addUnits(std::chrono::floor<std::chrono::days>(state_.now()), unit, count);
            const std::string countText = trimmed(inTime_.Text());
            summary = chinese ? "约会发生在 " + countText + " " + inDays_.Text() +
                                    " 之后，时间为 " + time + " (" + shortDate(day) + ")"
                              : "Appointment in " + countText + " " + inDays_.Text() + " at " +
                                    time + " (" + shortDate(day) + ")";
        } else {
            day = onTime_.day();
            summary = chinese ? "约会发生在 " + shortDate(day) + " 时间为" + time
                              : "Appointment on " + shortDate(day) + " at " + time;
        }
        const host::DateTime start = day + std::chrono::minutes(*minutes);
        appointment->Set("Start", start);
        // The host's usual length of a new appointment.
        appointment->Set("End", start + std::chrono::minutes(30));
        showAppoint_.setCaption(summary);
        state_.skipNextItemEvent = true;
        appointment->Save();
        created_ = appointment;
    });
}

void AttachSentMailToContact::onAppointmentCreated() {
    const std::string entryId = created_->EntryID();
    const bool written = mailLinks().emailToEvent(*mail_, entryId, mailId_, true);
    if (written && hasAttachments()) mailLinks().saveMailAttachments(*mail_, mailId_);
    showAppoint_.setVisible(true);
    (state_.isChinese ? detailC_ : detailE_).setEnabled(true);
    share_.setEnabled(true);
    setApp_.setEnabled(false);
    for (auto* list : {&leftPlus_, &rightPlus_})
        AddShareListRow(*list, eventIcon, entryId, created_->Text("Subject"),
                        created_->Text("CreationTime"));
    setEventButtons(true);
}

// ---- Closing ----

void AttachSentMailToContact::onUnload() {
    errorTrap(state_, "as14>>", [&] {
        state_.activeDialog = dialogNone;
        state_.ui.mailTab = static_cast<std::int16_t>(tab_.Tab());
        if (mail_ && isNewMail()) {
            state_.skipNextItemEvent = true;
            if (ignoreErrors([&] { mail_->Send(); }))
                errorTrap(state_, "Send Now ==", [&] { executeSendReceive(state_); });
        }
    });
    mail_.reset();
    created_.reset();
    handedOver_ = false;
}

} // namespace velmora::dialogs
