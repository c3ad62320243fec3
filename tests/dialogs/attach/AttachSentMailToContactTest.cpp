// Tests of the attach-mail dialog: a received mail attached to its correspondents, a mail being
// composed, events attached and removed, and the quick appointment with its checks and sharing.
#include "dialogs/attach/AttachSentMailToContact.h"
#include "AttachFixture.h"
#include "links/AttachEmail.h"
#include "links/MailKeys.h"
#include "platform/host/DateText.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace velmora {
namespace {

class AttachMail : public testing::AttachFixture {
  protected:
    explicit AttachMail(bool chinese = false) : AttachFixture(chinese) {
        s.clock.set(host::makeDate(2026, 12, 7, 9, 10));
        dialog = std::make_unique<dialogs::AttachSentMailToContact>(s.state);
    }
    // A received mail, selected in the explorer.
    host::ItemPtr received(const std::string& attachment = "") {
        auto m = s.host.receiveMail("Plan \"B\"", "Zoë Sender", "zoe@example.com");
        m->Recipients().Add({"'Ann Lee'", "ann@example.com", host::olTo});
        m->Recipients().Add({"O'Brien, Pat", "pat@example.com", host::olCC});
        if (!attachment.empty()) m->Attachments().Add(attachment, "contents");
        m->Set("UnRead", true);
        m->Save();
        s.host.application().ActiveExplorer()->Select({m});
        return m;
    }
    controls::Form& form() { return dialog->form(); }
    controls::ListView& list(const char* name) { return form().get<controls::ListView>(name); }
    controls::CheckBox& check(const char* name) { return form().get<controls::CheckBox>(name); }
    void click(const char* name, int index = -1) {
        form().get<controls::CommandButton>(name, index).click();
    }
    void pick(const char* listName, const std::string& key, const char* button) {
        list(listName).setSelectedItem(&list(listName).ListItems().Item(key));
        click(button);
    }
    std::string rowTexts(const char* listName) {
        std::string out;
        const auto& rows = list(listName).ListItems();
        for (int i = 1; i <= rows.Count(); ++i)
            out += rows.Item(i).SubItems(1) + "|" + rows.Item(i).SubItems(2) + "|" +
                   rows.Item(i).SubItems(3) + ";";
        return out;
    }
    bool enabled(const char* name, int index = -1) { return form().find(name, index)->Enabled(); }
    bool visible(const char* name, int index = -1) { return form().find(name, index)->Visible(); }
    void reopen() {
        form().unload();
        dialog->Show();
    }

    std::unique_ptr<dialogs::AttachSentMailToContact> dialog;
};

TEST_F(AttachMail, AReceivedMailIsAttachedToItsCorrespondents) {
    const auto ann = contact("Ann Lee", "ann@example.com");
    const auto mail = received("report.pdf");
    dialog->Show();
    EXPECT_EQ(s.state.activeDialog, dialogAttachMail);
    EXPECT_FALSE(mail->Flag("UnRead"));
    EXPECT_EQ(rowTexts("ListViewLeft"),
              "Zoë Sender|zoe@example.com|alice;Outlook User|user@velmora.example|alice;"
              "Ann Lee|ann@example.com|alice;O'Brien, Pat|pat@example.com|alice;");
    EXPECT_TRUE(visible("AttachEFrame"));
    EXPECT_FALSE(visible("AttachCFrame"));
    EXPECT_FALSE(enabled("cmdMailtoContact1"));
    EXPECT_FALSE(enabled("shareEmail1"));
    EXPECT_EQ(form().get<controls::TabControl>("SSTab1").TabCaption(2), "Quick Create Event");

    pick("ListViewLeft", ann->EntryID(), "cmdMoveFields1");
    const std::string pat = list("ListViewLeft").ListItems().Item(4).Key();
    pick("ListViewLeft", pat, "cmdMoveFields1");
    EXPECT_TRUE(enabled("cmdMailtoContact1"));
    EXPECT_TRUE(enabled("includeMailAttachment1"));
    EXPECT_TRUE(enabled("deleteMailForContact1"));
    check("includeMailAttachment1").setValue(controls::vbChecked);
    click("cmdMailtoContact1");
    EXPECT_TRUE(s.messages.shown.empty()) << s.messages.lastText();
    EXPECT_TRUE(visible("done1"));
    EXPECT_FALSE(enabled("cmdMailtoContact1"));

    // The correspondent without a contact got one, and both are the mail's links now.
    auto& contacts = *s.host.folder(host::olFolderContacts)->Items();
    ASSERT_EQ(contacts.Count(), 2);
    const auto created = contacts.Item(2);
    EXPECT_EQ(created->Text("FullName") + "|" + created->Text("Email1Address"),
              "O'Brien, Pat|pat@example.com");
    ASSERT_EQ(mail->Links().Count(), 2);
    const std::string key = ado::sqlText(mail->EntryID());
    EXPECT_EQ(s.count("select * from noteTb where OutlookAttachID='" + key +
                      "' and MakeDelete=0 and bAttachment=1"),
              2);
    EXPECT_EQ(s.count("select * from EMailHistory where entryid='" + key + "'"), 1);
    EXPECT_TRUE(std::filesystem::exists(
        s.state.mailLinks->attachmentCopy(mail->EntryID(), 1, "report.pdf")));

    // Opened again: the links are listed and the options show what was stored; attaching the
    // same list twice writes no second row.
    reopen();
    EXPECT_EQ(list("ListViewRight").ListItems().Count(), 2);
    EXPECT_TRUE(check("includeMailAttachment1").checked());
    EXPECT_FALSE(check("shareEmail1").checked());
    click("cmdMoveFields4"); // nothing selected: a no-op that still enables the attach button
    click("cmdMailtoContact1");
    EXPECT_EQ(s.count("select * from noteTb where OutlookAttachID='" + key + "'"), 2);

    // A linked contact deleted from Outlook is no longer offered.
    ann->Delete();
    reopen();
    EXPECT_EQ(rowTexts("ListViewRight"), "O'Brien, Pat|pat@example.com|alice;");

    // Emptying the list and attaching removes the links; with Delete ticked the dialog closes.
    click("cmdMoveFields3");
    EXPECT_FALSE(enabled("deleteMailForContact1"));
    click("cmdMailtoContact1");
    EXPECT_EQ(mail->Links().Count(), 0);
    EXPECT_EQ(s.count("select * from noteTb where OutlookAttachID='" + key + "' and MakeDelete=0"),
              0);
    pick("ListViewLeft", created->EntryID(), "cmdMoveFields1");
    check("deleteMailForContact1").setValue(controls::vbChecked);
    click("cmdMailtoContact1");
    EXPECT_FALSE(form().Loaded());
    EXPECT_EQ(s.state.activeDialog, dialogNone);
}

TEST_F(AttachMail, AMailBeingComposedIsSentOnClose) {
    const auto ann = contact("Ann Lee", "ann@example.com");
    auto mail = s.host.application().CreateItem(host::olMailItem);
    mail->Set("Subject", "Draft");
    mail->Recipients().Add({"Ann Lee", "ann@example.com", host::olTo});
    const std::string key = newMailID(*mail);
    dialog->setMailObj(mail, key);
    dialog->Show();
    form().get<controls::TabControl>("SSTab1").setTab(2);
    EXPECT_EQ(rowTexts("ListViewLeft"), "Ann Lee|ann@example.com|alice;") << "no sender yet";
    pick("ListViewLeft", ann->EntryID(), "cmdMoveFields2");
    EXPECT_FALSE(enabled("deleteMailForContact1")) << "an unsent mail is never deleted";
    EXPECT_FALSE(enabled("includeMailAttachment1")) << "it has no attachments";
    click("cmdMailtoContact1");
    EXPECT_EQ(s.count("select * from noteTb where OutlookAttachID='" + key + "'"), 1);

    click("cmdClose");
    EXPECT_TRUE(s.messages.shown.empty()) << s.messages.lastText();
    EXPECT_EQ(s.state.ui.mailTab, 2);
    EXPECT_TRUE(mail->Flag("Sent") || mail->Parent() == s.host.folder(host::olFolderOutbox))
        << "handed to the host for sending";
}

TEST_F(AttachMail, EventsAreAttachedAndRemoved) {
    const auto review = appointment("Review", 8);
    const auto launch = appointment("Launch", 9);
    const auto ann = contact("Ann Lee", "ann@example.com");
    const auto mail = received();
    dialog->Show();
    EXPECT_FALSE(enabled("cmdProp2"));
    // What the event search adds to the left list.
    for (const auto& a : {review, launch})
        AddListRow(list("ListViewLeftPlus"), 3, a->EntryID(), a->Text("Subject"), "", "alice");
    click("cmdMoveFieldsPlus2");
    click("cmdMailtoEvent");
    const std::string key = ado::sqlText(mail->EntryID());
    EXPECT_EQ(s.count("select * from ToEvent where OutlookEmailID='" + key + "'"), 2);
    EXPECT_TRUE(visible("doneTab2"));

    reopen();
    EXPECT_EQ(list("ListViewRightPlus").ListItems().Count(), 2);
    EXPECT_TRUE(enabled("cmdProp2"));
    list("ListViewRightPlus").setSelectedItem(nullptr);
    click("cmdProp2");
    EXPECT_EQ(s.messages.lastText(), "Please a calendar item!");
    EXPECT_FALSE(enabled("cmdMailtoEvent")) << "nothing changed yet";

    // Emptying the list deletes the links, and the history row goes when no contact link is
    // left; with a contact link it keeps the contact count.
    pick("ListViewLeft", ann->EntryID(), "cmdMoveFields1");
    click("cmdMailtoContact1");
    click("cmdMoveFieldsPlus3");
    click("cmdMailtoEvent");
    EXPECT_EQ(s.count("select * from ToEvent where OutlookEmailID='" + key + "'"), 0);
    EXPECT_EQ(s.scalar("select att_count from EMailHistory where entryid='" + key + "'"), "1");
    pick("ListViewLeftPlus", review->EntryID(), "cmdMoveFieldsPlus1");
    click("cmdMailtoEvent");
    click("cmdMoveFields3");
    click("cmdMailtoContact1");
    EXPECT_EQ(s.count("select * from ToEvent where OutlookEmailID='" + key + "'"), 1);
    click("cmdMoveFieldsPlus3");
    click("cmdMailtoEvent");
    EXPECT_EQ(s.count("select * from EMailHistory where entryid='" + key + "'"), 0);
}

TEST_F(AttachMail, TheQuickAppointmentIsCheckedCreatedAndShared) {
    appointment("Budget", 10);
    const auto mail = received("notes.txt");
    dialog->Show();
    auto& count = form().get<controls::TextBox>("inTime");
    auto& regarding = form().get<controls::TextBox>("regarding");
    EXPECT_EQ(regarding.Text(), "Plan \"B\"");
    EXPECT_EQ(form().get<controls::ComboBox>("atTime", 1).Text(), "09:30");
    EXPECT_FALSE(visible("atTime", 0));

    for (const char* bad : {"abc", "101", "-1"}) {
        count.type(bad);
        click("cmdSetApp");
        EXPECT_EQ(s.messages.lastText(), "Please input a correct number.") << bad;
    }
    count.type("123456");
    EXPECT_EQ(count.Text(), "-1") << "six characters put the last text back";
    count.type("0");
    regarding.type("   ");
    click("cmdSetApp");
    EXPECT_EQ(s.messages.lastText(), "The regarding is can't space.");
    regarding.type("Budget");
    s.messages.answers.push_back(windows::vbNo);
    click("cmdSetApp");
    EXPECT_EQ(s.messages.lastText(),
              "It is found a  event of same subject , do you want to continue?");
    EXPECT_EQ(s.messages.shown.back().style, windows::vbYesNo | windows::vbInformation);
    EXPECT_EQ(s.host.folder(host::olFolderCalendar)->Items()->Count(), 1);

    // A count of 0 days is today at the chosen time, linked at once with the attachments.
    regarding.type("Plan B follow-up");
    s.messages.clear();
    click("cmdSetApp");
    EXPECT_TRUE(s.messages.shown.empty()) << s.messages.lastText();
    const auto created = dialog->createdAppointment();
    ASSERT_TRUE(created);
    EXPECT_EQ(host::isoDateText(std::get<host::DateTime>(created->Get("Start"))),
              "2026-12-07 09:30:00");
    EXPECT_EQ(form().get<controls::Label>("showAppoint").Caption(),
              "Appointment in 0 day at 09:30 (2026-12-7)");
    EXPECT_TRUE(visible("showAppoint"));
    EXPECT_FALSE(enabled("cmdSetApp"));
    EXPECT_TRUE(enabled("cmdDetail", 1));
    const std::string key = ado::sqlText(mail->EntryID());
    EXPECT_EQ(s.count("select * from ToEvent where OutlookEmailID='" + key +
                      "' and OutlookApptID='" + created->EntryID() + "'"),
              1);
    EXPECT_TRUE(std::filesystem::exists(
        s.state.mailLinks->attachmentCopy(mail->EntryID(), 1, "notes.txt")));
    EXPECT_TRUE(list("ListViewRightPlus").ListItems().contains(created->EntryID()));

    // Months keep the day inside the month; the date form is the user's short date.
    s.clock.set(host::makeDate(2027, 1, 31, 8, 0));
    reopen();
    form().get<controls::ComboBox>("inDays").choose(2);
    count.type("1");
    click("cmdSetApp");
    ASSERT_TRUE(dialog->createdAppointment());
    EXPECT_EQ(form().get<controls::Label>("showAppoint").Caption(),
              "Appointment in 1 Month at 08:30 (2027-2-28)");

    // Sharing opens the share dialog modally for the new appointment.
    s.exec("insert into GroupTb (GroupID, GroupName, Creator, Modules) values ('g1','Sales',"
           "'alice',2)");
    s.exec("insert into Group_User (GroupID, loginname, Access) values ('g1','alice',3)");
    bool shown = false;
    dialog->shareDialog().form().setModalScript([&](controls::Form& share) {
        shown = share.owner() == &form();
        share.get<controls::CommandButton>("cmdMoveFields2").click();
        share.get<controls::CommandButton>("OK").click();
    });
    click("cmdShare");
    EXPECT_TRUE(shown);
    EXPECT_EQ(s.count("select * from Group_Task where OutlookAppID='" +
                      dialog->createdAppointment()->EntryID() + "' and IsDel=0"),
              1);
}

TEST_F(AttachMail, NothingOfAPreviousOpeningReachesTheNext) {
    const auto ann = contact("Ann Lee", "ann@example.com");
    const auto review = appointment("Review", 8);
    const auto first = received("a.txt");
    const auto second = s.host.receiveMail("Second", "Ann Lee", "ann@example.com");
    second->Attachments().Add("b.txt", "contents");
    second->Save();

    // The first opening ticks every option, chooses a quick date and links an event.
    dialog->Show();
    pick("ListViewLeft", ann->EntryID(), "cmdMoveFields1");
    for (const char* option : {"shareEmail1", "includeMailAttachment1", "deleteMailForContact1"})
        check(option).setValue(controls::vbChecked);
    AddListRow(list("ListViewLeftPlus"), 3, review->EntryID(), "Review", "", "alice");
    click("cmdMoveFieldsPlus2");
    click("cmdMailtoEvent");
    form().get<controls::TextBox>("inTime").type("7");
    form().get<controls::ComboBox>("inDays").choose(2);
    form().get<controls::OptionButton>("OptionOn").click();
    form().get<controls::TabControl>("SSTab1").setTab(2);
    click("cmdClose");

    // The next opening, on another mail, looks exactly as a dialog never opened before.
    s.host.application().ActiveExplorer()->Select({second});
    dialog->Show();
    dialogs::AttachSentMailToContact fresh(s.state);
    const std::string reused = form().describe();
    form().unload();
    fresh.Show();
    EXPECT_EQ(reused, fresh.form().describe());
    fresh.form().unload();

    // Attaching the second mail to a contact keeps it: the first opening's tick is gone.
    dialog->Show();
    pick("ListViewLeft", ann->EntryID(), "cmdMoveFields1");
    click("cmdMailtoContact1");
    EXPECT_TRUE(form().Loaded());
    EXPECT_TRUE(s.host.application().GetNamespace("MAPI").GetItemFromID(second->EntryID()));

    // A load that cannot mark the selected mail read holds no mail: nothing can be attached, and
    // the mail opened before keeps its event link.
    click("cmdClose");
    const auto third = received();
    s.host.failMember("Item.Set.UnRead", "the store is read-only");
    dialog->Show();
    EXPECT_EQ(s.messages.lastText(), "as2>>the store is read-only");
    EXPECT_EQ(dialog->mailId(), "");
    EXPECT_EQ(list("ListViewRightPlus").ListItems().Count(), 0);
    AddListRow(list("ListViewLeftPlus"), 3, review->EntryID(), "Review", "", "alice");
    click("cmdMoveFieldsPlus2");
    click("cmdMailtoEvent");
    EXPECT_EQ(s.messages.lastText(),
              "The mail could not be loaded. Close this window and open it again.");
    EXPECT_EQ(s.count("select * from ToEvent where OutlookEmailID='" +
                      ado::sqlText(first->EntryID()) + "'"),
              1);
    EXPECT_EQ(s.count("select * from ToEvent where OutlookEmailID='" +
                      ado::sqlText(third->EntryID()) + "'"),
              0);
}

class AttachMailChinese : public AttachMail {
  protected:
    AttachMailChinese() : AttachMail(true) {}
};

TEST_F(AttachMailChinese, TheChineseLayoutAndMessages) {
    received();
    dialog->Show();
    EXPECT_TRUE(visible("AttachCFrame"));
    EXPECT_FALSE(visible("cmdMailtoContact1"));
    EXPECT_EQ(form().find("cmdMailtoContact")->Caption(), "确定 ");
    EXPECT_EQ(form().get<controls::TabControl>("SSTab1").TabCaption(1), "绑定到事件");
    EXPECT_TRUE(visible("atTime", 0));
    EXPECT_EQ(form().get<controls::ComboBox>("inDays").Text(), "天");
    auto& count = form().get<controls::TextBox>("inTime");
    count.type("x");
    click("cmdSetApp");
    EXPECT_EQ(s.messages.lastText(), "请输入正确的天数值！");
    count.type("101");
    click("cmdSetApp");
    EXPECT_EQ(s.messages.lastText(), "输入的天值不能大于100！");
    count.type("-1");
    click("cmdSetApp");
    EXPECT_EQ(s.messages.lastText(), "输入的天值不能小于0！");
    count.type("2");
    click("cmdSetApp");
    EXPECT_EQ(form().get<controls::Label>("showAppoint").Caption(),
              "约会发生在 2 天 之后，时间为 09:30 (2026-12-9)");
    list("ListViewRightPlus").setSelectedItem(nullptr);
    click("cmdProp2");
    EXPECT_EQ(s.messages.lastText(), "请先择一个要显示的日历！");
}

} // namespace
} // namespace velmora
