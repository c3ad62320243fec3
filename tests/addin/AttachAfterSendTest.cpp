// Tests of the attach-after-send sequence: each compose window keeps its own Attach toggle, each
// mail sent with it down gets its own dialog, and the rows follow the mail into Sent Items.
#include "addin/AddInDesigner1.h"
#include "addin/CommandBars.h"
#include "platform/controls/CaptionedControls.h"
#include "platform/controls/ListView.h"
#include "platform/host/DateText.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::TestSession;

class AfterSend : public ::testing::Test {
  protected:
    AfterSend() { addin.AddinInstance_OnConnection(s.host.application()); }

    struct Window {
        host::ItemPtr mail;
        host::ControlPtr attach;
    };
    Window compose(const std::string& subject) {
        auto mail = s.host.application().CreateItem(host::olMailItem);
        mail->Set("Subject", subject);
        mail->Recipients().Add({"Ann Lee", "ann@example.com", host::olTo});
        auto inspector = s.host.application().OpenInspector(mail);
        return {mail, inspector->CommandBars().Item("Standard").FindControl(0, 0, tagAttach)};
    }
    std::vector<controls::Form*> dialogs() {
        std::vector<controls::Form*> open;
        for (auto* form : addin.menu().loadedDialogs())
            if (form->Name() == "AttachSentMailToContact") open.push_back(form);
        return open;
    }
    // Moves the first proposed contact to the chosen list.
    static void chooseFirst(controls::Form& form) {
        auto& left = form.get<controls::ListView>("ListViewLeft");
        left.clickItem(left.ListItems().Item(1));
        form.get<controls::CommandButton>("cmdMoveFields1").click();
    }
    static void attach(controls::Form& form) {
        form.get<controls::CommandButton>("cmdMailtoContact1").click();
    }
    static void quickAppointment(controls::Form& form) {
        form.get<controls::CommandButton>("cmdSetApp").click();
    }
    long substituteRows() {
        return s.count("select OutlookAttachID from noteTb where OutlookAttachID like "
                       "'OutlookID%' union all select OutlookEmailID from ToEvent where "
                       "OutlookEmailID like 'OutlookID%' union all select entryid from "
                       "EMailHistory where entryid like 'OutlookID%'");
    }

    TestSession s;
    AddInDesigner1 addin{s.state};
};

TEST_F(AfterSend, EachComposeWindowKeepsItsToggleAndEachSentMailItsDialog) {
    const Window first = compose("First"), second = compose("Second");
    first.attach->Execute();
    EXPECT_EQ(first.attach->State(), host::msoButtonDown);
    EXPECT_EQ(second.attach->State(), host::msoButtonUp) << "one window armed the other";

    // Reading a received mail opens a window of its own; the armed compose window stays armed.
    s.host.application().OpenInspector(s.host.receiveMail("Hello", "Bob", "bob@example.com"));
    second.mail->Send();
    EXPECT_TRUE(dialogs().empty()) << "the second window was never armed";
    first.mail->Send();
    ASSERT_EQ(dialogs().size(), 1u) << "the toggle was lost when another window opened";
    controls::Form& firstDialog = *dialogs()[0];
    EXPECT_EQ(firstDialog.Caption(), "绑定邮件") << "only the dispatcher shows the subject";
    chooseFirst(firstDialog);

    // A second armed mail gets a dialog of its own; the first keeps what the user chose.
    const Window third = compose("Third");
    third.attach->Execute();
    third.mail->Send();
    ASSERT_EQ(dialogs().size(), 2u);
    EXPECT_TRUE(firstDialog.Loaded());
    EXPECT_EQ(firstDialog.get<controls::ListView>("ListViewRight").ListItems().Count(), 1);
    dialogs()[1]->unload();
    EXPECT_EQ(s.state.activeDialog, dialogAttachMail) << "the first dialog is still loaded";

    // Terminate unloads every dialog still open.
    const Window fourth = compose("Fourth");
    fourth.attach->Execute();
    fourth.mail->Send();
    int unloaded = 0;
    std::vector<host::Subscription> watch;
    for (auto* form : dialogs())
        watch.push_back(form->Unload.subscribe([&](int&) { ++unloaded; }));
    ASSERT_EQ(watch.size(), 2u);
    addin.AddinInstance_Terminate();
    EXPECT_EQ(unloaded, 2);
    EXPECT_EQ(s.state.activeDialog, dialogNone);
}

TEST_F(AfterSend, RowsEndUnderTheDeliveredEntryIdWhateverTheOrder) {
    s.addContact("Ann Lee", "ann@example.com");
    s.clock.set(host::makeDate(2003, 7, 5, 9, 4, 3));

    // The mail reaches Sent Items before the user attaches (delivered with the Outbox event).
    const Window early = compose("Early");
    early.attach->Execute();
    early.mail->Send();
    ASSERT_EQ(dialogs().size(), 1u);
    ASSERT_TRUE(early.mail->Flag("Sent"));
    const std::string earlyId = early.mail->EntryID();
    chooseFirst(*dialogs()[0]);
    attach(*dialogs()[0]);
    quickAppointment(*dialogs()[0]);
    EXPECT_TRUE(s.messages.shown.empty()) << s.messages.lastText();
    EXPECT_EQ(substituteRows(), 0);
    EXPECT_EQ(s.scalar("select OutlookAttachID from noteTb"), earlyId);
    EXPECT_EQ(s.scalar("select OutlookEmailID from ToEvent"), earlyId);
    EXPECT_EQ(s.scalar("select att_count from EMailHistory where entryid='" + earlyId + "'"), "2");
    dialogs()[0]->unload();

    // The user attaches before the mail is delivered, and again after it arrived.
    s.exec("delete from noteTb");
    s.exec("delete from ToEvent");
    s.exec("delete from EMailHistory");
    s.host.holdDelivery(true);
    s.clock.set(host::makeDate(2003, 7, 5, 9, 5, 0));
    const Window late = compose("Late");
    late.attach->Execute();
    late.mail->Send();
    ASSERT_EQ(dialogs().size(), 1u);
    controls::Form& dialog = *dialogs()[0];
    chooseFirst(dialog);
    attach(dialog);
    EXPECT_EQ(s.scalar("select OutlookAttachID from noteTb"), "OutlookID200375950");
    s.host.deliverOutbox();
    const std::string lateId = late.mail->EntryID();
    EXPECT_EQ(s.scalar("select OutlookAttachID from noteTb"), lateId);
    quickAppointment(dialog);
    EXPECT_EQ(substituteRows(), 0);
    EXPECT_EQ(s.scalar("select OutlookEmailID from ToEvent"), lateId);
    EXPECT_EQ(s.count("select * from EMailHistory"), 1);
    EXPECT_EQ(s.scalar("select att_count from EMailHistory where entryid='" + lateId + "'"), "2");
}

} // namespace
} // namespace velmora
