// Tests of the event hub: a changed linked mail relinked, the event filter's guards, the
// share-and-attach controls following the folder, the launcher and a failing host call.
#include "addin/AddInDesigner1.h"
#include "addin/CommandBars.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::TestSession;

class Hub : public ::testing::Test {
  protected:
    TestSession s;
    AddInDesigner1 addin{s.state};
    host::ItemPtr mail;
    host::ItemPtr ann;

    void SetUp() override {
        addin.AddinInstance_OnConnection(s.host.application());
        ann = s.host.application().CreateItem(host::olContactItem);
        ann->Set("FullName", std::string("Ann Lee"));
        ann->Save();
        mail = s.host.receiveMail("Offer", "Ann Lee", "ann@example.com");
        mail->Links().Add(ann);
    }
    long links() {
        return s.count("select * from noteTb where OutlookAttachID='" + mail->EntryID() + "'");
    }
};

TEST_F(Hub, ChangedMailIsRelinkedUnlessTheFilterDropsIt) {
    s.windows.openWindows.insert(s.state.syncWindowCaption);
    mail->Save();
    EXPECT_EQ(links(), 0) << "nothing is written while the companion window is open";
    s.windows.openWindows.clear();

    s.state.skipNextItemEvent = true;
    mail->Save();
    EXPECT_EQ(links(), 0);
    EXPECT_FALSE(s.state.skipNextItemEvent) << "the flag is consumed by that one event";

    mail->Save();
    EXPECT_EQ(links(), 1);
    EXPECT_TRUE(s.messages.shown.empty()) << s.messages.lastText();
}

TEST_F(Hub, FailingHostCallLeavesTheStoreAsItWas) {
    s.host.failMember("Links.Item", "link lookup refused");
    mail->Save();
    EXPECT_EQ(links(), 0);
    EXPECT_EQ(s.messages.lastText(), "addEmailsToNoteTb :link lookup refused")
        << "the engine's step reports under its own tag; the handler adds nothing";
    EXPECT_EQ(s.messages.shown.size(), 1u);
}

TEST_F(Hub, ShareControlsFollowTheFolderInView) {
    auto explorer = s.host.application().ActiveExplorer();
    auto share = [&] {
        return explorer->CommandBars().Item("Standard").FindControl(0, 0, tagShareAndAttach);
    };
    explorer->SetCurrentFolder(s.host.folder(host::olFolderDrafts));
    EXPECT_FALSE(share()->Visible());
    auto sub = s.host.folder(host::olFolderInbox)->AddFolder("Projects", host::olMailItem);
    explorer->SetCurrentFolder(sub);
    EXPECT_TRUE(share()->Visible());
    auto calendarSub =
        s.host.folder(host::olFolderCalendar)->AddFolder("Team", host::olAppointmentItem);
    explorer->SetCurrentFolder(calendarSub);
    EXPECT_FALSE(share()->Visible());
    explorer->SetCurrentFolder(s.host.folder(host::olFolderCalendar));
    EXPECT_TRUE(share()->Visible());
}

TEST_F(Hub, LauncherRefusesWhileADialogIsLoaded) {
    auto sync = s.host.application()
                    .ActiveExplorer()
                    ->CommandBars()
                    .Item("Standard")
                    .FindControl(0, 0, tagSyncVelmora);
    s.state.activeDialog = dialogAttachNote;
    sync->Execute();
    EXPECT_TRUE(s.windows.started.empty());
    EXPECT_EQ(s.messages.lastText(),
              "Please close window of VelmoraOutlook before synchronization.");
    s.state.activeDialog = dialogNone;
    sync->Execute();
    ASSERT_EQ(s.windows.started.size(), 1u);
    EXPECT_EQ(s.windows.started[0].first, (s.installPath() / "Tidewell").string());
    EXPECT_TRUE(s.windows.started[0].second.empty());
}

} // namespace
} // namespace velmora
