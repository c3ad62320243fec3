// The attach-mail form: its design, its one handler table, opening, the two language layouts and
// the close that sends a mail still being composed. Each tab's sequences live in its own class.
#include "dialogs/attach/AttachSentMailToContact.h"

#include "dialogs/common/FormDesign.h"
#include "dialogs/common/ListLayouts.h"
#include "links/ItemLookup.h"
#include "store/ErrorTrap.h"
#include "store/StoreSession.h"

namespace velmora::dialogs {

namespace {

using enum ControlKind;

// The controls in the form's order, the Chinese captions designed, the English ones set at load.
// An option's twin (name1) carries the English caption, its control the Chinese one.
constexpr ControlDesign design[] = {
    {List, "ListViewLeft"},
    {List, "ListViewRight"},
    {Button, "CommandSearch", -1, {.english = "Search for contact...", .chinese = "查找联系人..."}},
    {Button, "ConProp", -1, {.english = "Property...", .chinese = "属性..."}},
    {Frame, "AttachCFrame"},
    {Frame, "AttachEFrame"},
    {List, "ListViewLeftPlus"},
    {List, "ListViewRightPlus"},
    {Button, "cmdSearchPlus", -1, {.english = "Search for Event. . .", .chinese = "查找事件..."}},
    {Button, "cmdProp2", -1, {.english = "Properties. . .", .chinese = "属性..."}},
    {Button, "cmdMailtoEvent", -1, {.english = "Attach", .chinese = "确定"}},
    {Label, "doneTab2", -1, {.english = "Done!", .chinese = "绑定成功!"}},
    {Frame, "AttachCEventFrame"},
    {Frame, "AttachEEventFrame"},
    {Text, "regarding"},
    {Option, "OptionIn", -1, {.english = "  in", .chinese = "  在"}},
    {Option, "OptionOn", -1, {.english = "  on", .chinese = "  在"}},
    {Text, "inTime"},
    {Combo, "inDays"},
    {Date, "onTime"},
    {Frame, "atFrame", 0},
    {Frame, "atFrame", 1},
    {Combo, "atTime", 0},
    {Combo, "atTime", 1},
    {Label, "Label1", -1, {.english = "  ", .chinese = "之后"}},
    {Label, "Label2", -1, {.english = "Regarding", .chinese = "事件主题"}},
    {Button, "cmdSetApp", -1, {.english = "Set appointment", .chinese = "生成新事件"}},
    {Button, "cmdDetail", 0, sameInBoth("详细设置. . .")},
    {Button, "cmdDetail", 1, sameInBoth("Detail. . .")},
    {Button, "cmdShare", -1, {.english = "Sharing. . .", .chinese = "分享..."}},
    {Label, "showAppoint"},
    {Button, "cmdClose", -1, {.english = "Close", .chinese = "关闭"}},
    twinned(Button, "cmdMailtoContact", {.english = "Attach", .chinese = "确定 "}),
    twinned(Check, "shareEmail", {.english = "Share with contact", .chinese = "随联系人分享"}),
    twinned(Check, "includeMailAttachment", {.english = "include Attachment", .chinese = "含附件"}),
    twinned(Check, "deleteMailForContact", {.english = "Delete mail", .chinese = "删除邮件"}),
    twinned(Label, "done", {.english = "Done!", .chinese = "绑定成功!"}),
    twinned(Check, "deleteMailForEvent", {.english = "Delete Email", .chinese = "删除邮件"}),
    twinned(Check, "includeAttachmentForEvent",
            {.english = "Include Attachment", .chinese = "含附件"}),
    {Label, "Label3", 0, sameInBoth("时间为 ")},
    {Label, "Label3", 1, sameInBoth("at ")},
};

constexpr text::Bilingual tabCaptions[] = {
    {.english = "Attach to Contact", .chinese = "绑定到联系人"},
    {.english = "Attach to Event", .chinese = "绑定到事件"},
    {.english = "Quick Create Event", .chinese = "绑定到新事件"},
};

// The tab control first, then the design; the tabs find their controls in it.
controls::TabControl& designForm(controls::Form& form) {
    form.setCaption("绑定邮件");
    auto& tab = form.add<controls::TabControl>("SSTab1", -1, 3);
    for (int i = 0; i < 3; ++i)
        tab.setTabCaption(i, std::string(tabCaptions[i].chinese));
    addControls(form, design);
    return tab;
}

} // namespace

AttachSentMailToContact::AttachSentMailToContact(DialogContext& state)
    : DialogForm(state, "AttachSentMailToContact", design), tab_(designForm(form_)), mail_(state),
      contacts_(state, form_, mail_), events_(state, form_, mail_),
      quick_(state, form_, mail_, events_) {
    for (const char* list :
         {"ListViewLeft", "ListViewRight", "ListViewLeftPlus", "ListViewRightPlus"})
        form_.get<controls::ListView>(list).setWidth(pickerListWidth);
    using Form = AttachSentMailToContact;
    using Contacts = MailContactsTab;
    using Events = MailEventsTab;
    using Quick = QuickAppointmentTab;
    using enum FormEvent;
    // The English layout's twin of an option, marked in the design, runs its control's handler.
    wire({
        {"cmdClose", Click, {*this, &Form::cmdClose_Click}},
        {"cmdMailtoContact", Click, {contacts_, &Contacts::cmdMailtoContact_Click}},
        {"shareEmail", Click, {contacts_, &Contacts::shareEmail_Click}},
        {"includeMailAttachment", Click, {contacts_, &Contacts::includeMailAttachment_Click}},
        {"deleteMailForContact", Click, {contacts_, &Contacts::deleteMailForContact_Click}},
        {"CommandSearch", Click, {contacts_, &Contacts::CommandSearch_Click}},
        {"ConProp", Click, {contacts_, &Contacts::ConProp_Click}},
        {"ListViewRight", DblClick, {contacts_, &Contacts::ListViewRight_DblClick}},
        {"deleteMailForEvent", Click, {events_, &Events::deleteMailForEvent_Click}},
        {"includeAttachmentForEvent", Click, {events_, &Events::includeAttachmentForEvent_Click}},
        {"cmdSearchPlus", Click, {events_, &Events::cmdSearchPlus_Click}},
        {"cmdMailtoEvent", Click, {events_, &Events::cmdMailtoEvent_Click}},
        {"cmdProp2", Click, {events_, &Events::cmdProp2_Click}},
        {"ListViewRightPlus", DblClick, {events_, &Events::ListViewRightPlus_DblClick}},
        {"OptionIn", Click, {quick_, &Quick::OptionIn_Click}},
        {"OptionOn", Click, {quick_, &Quick::OptionOn_Click}},
        {"inTime", Change, {quick_, &Quick::inTime_Change}},
        {"inDays", Click, {quick_, &Quick::inDays_Click}},
        {"inDays", Change, {quick_, &Quick::inDays_Change}},
        {"atTime", Click, {quick_, &Quick::atTime_Click}, 0},
        {"atTime", Change, {quick_, &Quick::atTime_Change}, 0},
        {"atTime", Click, {quick_, &Quick::atTime_Click}, 1},
        {"atTime", Change, {quick_, &Quick::atTime_Change}, 1},
        {"cmdSetApp", Click, {quick_, &Quick::cmdSetApp_Click}},
        {"cmdDetail", Click, {quick_, &Quick::cmdDetail_Click}, 0},
        {"cmdDetail", Click, {quick_, &Quick::cmdDetail_Click}, 1},
        {"cmdShare", Click, {quick_, &Quick::cmdShare_Click}},
    });
}

void AttachSentMailToContact::setMailObj(host::ItemPtr mail, std::string mailId) {
    mail_.item = std::move(mail);
    mail_.id = std::move(mailId);
    mail_.handedOver = true;
}

// ---- Opening ----

void AttachSentMailToContact::forgetPreviousOpening() {
    // A failed load can never act on the mail opened before.
    if (!mail_.handedOver) {
        mail_.item.reset();
        mail_.id.clear();
    }
    events_.reset();
    quick_.reset();
}

void AttachSentMailToContact::Form_Load() {
    forgetPreviousOpening();
    state_.activeDialog = dialogAttachMail;
    const int saved = state_.ui.mailTab;
    tab_.setTab(saved >= 0 && saved < tab_.Tabs() ? saved : 0);
    state_.currentUser = getCurrentUser(state_);
    setCaptions();
    errorTrap(state_, "as2>>", [&] {
        if (!mail_.handedOver) takeSelectedMail();
        contacts_.iniAttachEmailToContact(!mail_.isNew());
        quick_.iniQuickBuildAppointment(mail_.item->Text("Subject"));
        events_.iniAttachMailToEvent();
    });
}

void AttachSentMailToContact::takeSelectedMail() {
    auto explorer = state_.application().ActiveExplorer();
    if (!explorer || explorer->Selection().Count() == 0)
        throw host::HostError("No mail is selected");
    host::ItemPtr selected = explorer->Selection().Item(1);
    if (selected->Flag("UnRead")) selected->Set("UnRead", false);
    std::string id = selected->EntryID();
    mail_.item = std::move(selected);
    mail_.id = std::move(id);
}

void AttachSentMailToContact::setCaptions() {
    const bool chinese = state_.isChinese;
    contacts_.showLayout(chinese);
    events_.showLayout(chinese);
    quick_.showLayout(chinese);
    for (int i = 0; i < 3; ++i)
        tab_.setTabCaption(i, say(state_, tabCaptions[i]));
    velmora::setCaptions(form_, design, chinese);
}

// ---- Closing ----

void AttachSentMailToContact::cmdClose_Click() {
    form_.unload();
}

void AttachSentMailToContact::Form_Unload() {
    errorTrap(state_, "as14>>", [&] {
        state_.activeDialog = dialogNone;
        state_.ui.mailTab = static_cast<std::int16_t>(tab_.Tab());
        if (mail_.item && mail_.isNew()) {
            state_.skipNextItemEvent = true;
            // A mail handed over from the Outbox is on its way already: sending it again is
            // no failure worth a log line, only a mail still unsent goes now.
            bool sent = false;
            ignoreErrors("as14>> closing", [&] { sent = mail_.item->Flag("Sent"); });
            if (!sent && ignoreErrors("as14>> sending the mail", [&] { mail_.item->Send(); }))
                errorTrap(state_, "Send Now ==", [&] { executeSendReceive(state_); });
        }
    });
    mail_.item.reset();
    quick_.release();
    mail_.handedOver = false;
}

} // namespace velmora::dialogs
