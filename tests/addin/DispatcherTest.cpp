// Tests of the share-and-attach entry: its refusals, the dialog chosen by the folder in view,
// captions and rights, the launcher while a dialog is loaded, and the attach-after-send sequence.
#include "addin/AddInDesigner1.h"
#include "addin/CommandBars.h"
#include "dialogs/attach/AttachSentMailToContact.h"
#include "dialogs/share/ShareAppGroup.h"
#include "platform/host/DateText.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::TestSession;

class Dispatch : public ::testing::Test {
  protected:
    explicit Dispatch(testing::SessionOptions options = {}) : s(options) {
        addin.AddinInstance_OnConnection(s.host.application());
        explorer = s.host.application().ActiveExplorer();
    }
    void show(int folder, const host::ItemPtr& item) {
        explorer->SetCurrentFolder(s.host.folder(folder));
        explorer->Select({item});
    }
    host::ItemPtr add(int folder, int type, const char* property, const std::string& text) {
        auto item = s.host.folder(folder)->Items()->Add(type);
        item->Set(property, text);
        if (type == host::olAppointmentItem) {
            item->Set("Start", host::makeDate(2026, 12, 8, 10));
            item->Set("End", host::makeDate(2026, 12, 8, 11));
        }
        item->Save();
        return item;
    }
    void press() {
        // The menu entry: the toolbar button is hidden in folders that give no kind.
        explorer->CommandBars().Item("Menu Bar").FindControl(0, 0, tagShareAndAttach)->Execute();
    }
    // Presses the entry on item alone in its folder; what the last message box said.
    std::string pressOn(int folder, const host::ItemPtr& item) {
        show(folder, item);
        press();
        return s.messages.lastText();
    }
    std::string opened() {
        auto loaded = addin.menu().loadedDialogs();
        return loaded.size() == 1 ? loaded[0]->Name() + " \"" + loaded[0]->Caption() + "\"" : "";
    }
    void closeAll() {
        for (auto* form : addin.menu().loadedDialogs())
            form->unload();
    }

    TestSession s;
    AddInDesigner1 addin{s.state};
    host::ExplorerPtr explorer;
};

TEST_F(Dispatch, RefusalsComeBeforeAnyDialog) {
    const auto contact = add(host::olFolderContacts, host::olContactItem, "FullName", "Ann");
    press();
    EXPECT_EQ(s.messages.lastText(), "Please select a item.");
    EXPECT_EQ(s.messages.shown.back().style, windows::vbInformation);

    EXPECT_EQ(pressOn(host::olFolderInbox, contact), "Please select a mail item.");
    EXPECT_EQ(s.messages.shown.back().style, windows::vbExclamation);

    s.windows.openWindows.insert(s.state.syncWindowCaption);
    press();
    EXPECT_EQ(s.messages.lastText(), "Please close window of synchronization.");
    s.windows.openWindows.clear();

    s.exec("delete from CurrentUser");
    press();
    EXPECT_EQ(s.messages.lastText(), "Please synchronization with velmora.");
    s.exec("insert into CurrentUser (CurrentUser) values ('alice')");

    // Drafts, Deleted Items and the like give no kind: nothing at all happens.
    s.messages.clear();
    show(host::olFolderDrafts, contact);
    addin.menu().VelmoraMenuBar_ShareAndAttach_Click(); // its controls are hidden there

    EXPECT_TRUE(s.messages.shown.empty()) << s.messages.lastText();
    EXPECT_EQ(opened(), "");

    // Someone else's contact is not shared; the user's own is.
    s.mapContact(contact->EntryID(), "bob_7");
    EXPECT_EQ(pressOn(host::olFolderContacts, contact), "You can't share this Item.");
    const auto own = add(host::olFolderContacts, host::olContactItem, "FullName", "Ann");
    s.mapContact(own->EntryID(), "Alice_8");
    explorer->Select({own});
    press();
    EXPECT_EQ(opened(), "ShareContactGroup \"Ann\"");
    EXPECT_EQ(s.state.activeDialog, dialogShareContact);
}

TEST_F(Dispatch, CaptionsAndRightsOfEachKind) {
    // A mail not yet sent gets the fallback even with a subject.
    auto sub = s.host.folder(host::olFolderInbox)->AddFolder("Projects", host::olMailItem);
    auto draft = sub->Items()->Add(host::olMailItem);
    draft->Set("Subject", "Unsent plan");
    draft->Save();
    explorer->SetCurrentFolder(sub);
    explorer->Select({draft});
    press();
    EXPECT_EQ(opened(), "AttachSentMailToContact \"No Subject\"");
    press(); // a loaded dialog makes the entry do nothing
    EXPECT_EQ(addin.menu().loadedDialogs().size(), 1u);
    closeAll();

    // Someone else's appointment: access 1 is refused; access 2 opens without the share tab.
    const auto meeting = add(host::olFolderCalendar, host::olAppointmentItem, "Subject", " ");
    s.mapEvent(meeting->EntryID(), "bob_42");
    EXPECT_EQ(pressOn(host::olFolderCalendar, meeting),
              "You are not allowed to share or attach this item");
    EXPECT_EQ(opened(), "");
    s.exec("insert into Group_Task (GroupID, tid, IsDel) values ('g1', 42, 0)");
    s.exec("insert into Group_User (GroupID, loginname, Access) values ('g1', 'alice', 2)");
    press();
    EXPECT_EQ(opened(), "ShareAppGroup \"No subject\"");
    auto* share = addin.menu().dialogs().shareAppointment();
    ASSERT_TRUE(share);
    EXPECT_FALSE(share->form().get<controls::TabControl>("SSTab1").TabEnabled(0));
    EXPECT_EQ(share->form().get<controls::TabControl>("SSTab1").Tab(), 1);
    closeAll();
    // The same dialog, reused for the user's own appointment, has its share tab back.
    const auto own = add(host::olFolderCalendar, host::olAppointmentItem, "Subject", "Mine");
    show(host::olFolderCalendar, own);
    press();
    EXPECT_EQ(opened(), "ShareAppGroup \"Mine\"");
    EXPECT_TRUE(share->form().get<controls::TabControl>("SSTab1").TabEnabled(0));
    closeAll();

    const auto task = add(host::olFolderTasks, host::olTaskItem, "Subject", "Report");
    s.mapTask(task->EntryID(), "carol_3");
    EXPECT_EQ(pressOn(host::olFolderTasks, task), "You can't share this item.");

    // The launcher refuses while the note dialog is loaded.
    const auto note = add(host::olFolderNotes, host::olNoteItem, "Body", "call back");
    show(host::olFolderNotes, note);
    press();
    EXPECT_EQ(s.state.activeDialog, dialogAttachNote);
    explorer->CommandBars().Item("Standard").FindControl(0, 0, tagSyncVelmora)->Execute();
    EXPECT_EQ(s.messages.lastText(),
              "Please close window of VelmoraOutlook before synchronization.");
    EXPECT_TRUE(s.windows.started.empty());
    closeAll();
    EXPECT_EQ(s.state.activeDialog, dialogNone);
}

TEST_F(Dispatch, AMailSentWithAttachDownOpensTheDialogUnderItsSubstituteKey) {
    s.clock.set(host::makeDate(2003, 7, 5, 9, 4, 3));
    auto mail = s.host.application().CreateItem(host::olMailItem);
    mail->Set("Subject", "Offer");
    mail->Recipients().Add({"Ann Lee", "ann@example.com", host::olTo});
    auto inspector = s.host.application().OpenInspector(mail);
    inspector->CommandBars().Item("Standard").FindControl(0, 0, tagAttach)->Execute();
    mail->Send();
    EXPECT_TRUE(s.messages.shown.empty()) << s.messages.lastText();
    auto dialogs = addin.menu().dialogs().attachAfterSend();
    ASSERT_EQ(dialogs.size(), 1u);
    auto* dialog = dialogs[0];
    EXPECT_TRUE(dialog->form().Loaded());
    EXPECT_EQ(dialog->mailId(), "OutlookID200375943");
    EXPECT_EQ(dialog->form().Caption(), "绑定邮件") << "the form's own title";
    EXPECT_EQ(s.state.activeDialog, dialogAttachMail);
    EXPECT_EQ(s.host.folder(host::olFolderOutbox)->Items()->Count(), 0)
        << "the outbox was sent at once";

    // Sent without Attach: no dialog.
    dialog->form().unload();
    auto plain = s.host.application().CreateItem(host::olMailItem);
    plain->Recipients().Add({"Ann Lee", "ann@example.com", host::olTo});
    s.host.application().OpenInspector(plain);
    plain->Send();
    EXPECT_TRUE(addin.menu().loadedDialogs().empty());
}

class DispatchChinese : public Dispatch {
  protected:
    DispatchChinese() : Dispatch(testing::SessionOptions{true}) {}
};

TEST_F(DispatchChinese, ChineseFallbacksAndMessages) {
    const auto note = add(host::olFolderNotes, host::olNoteItem, "Body", "");
    show(host::olFolderNotes, note);
    press();
    EXPECT_EQ(opened(), "AttachNoteToContactAndEvent \"无主题\"");
    closeAll();
    show(host::olFolderInbox, note);
    press();
    EXPECT_EQ(s.messages.lastText(), "请选择邮件项目。");
}

} // namespace
} // namespace velmora
