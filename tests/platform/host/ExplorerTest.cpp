// Tests of in-memory explorers: folder switching, selection, closing, and the host's explorer
// list, with handlers that unsubscribe while an event is raised.
#include "platform/host/InMemoryHost.h"

#include <gtest/gtest.h>

using namespace velmora::host;

TEST(Explorer, FolderSwitchSelectionAndClose) {
    InMemoryHost host;
    auto& app = host.application();
    auto explorer = app.ActiveExplorer();
    ASSERT_NE(explorer, nullptr);
    EXPECT_EQ(app.Explorers().Count(), 1);
    EXPECT_EQ(app.Explorers().Item(1), explorer);
    EXPECT_THROW(app.Explorers().Item(2), HostError);
    EXPECT_EQ(explorer->CurrentFolder()->Name(), "Inbox");

    std::vector<std::string> events;
    auto f = explorer->FolderSwitch().subscribe([&] { events.push_back("switch"); });
    Subscription once;
    once = explorer->SelectionChange().subscribe([&] {
        events.push_back("select");
        once.reset(); // unsubscribing from inside the handler is safe
    });
    auto mail = host.receiveMail("Hi", "Bob", "bob@x.com");
    explorer->Select({mail});
    EXPECT_EQ(explorer->Selection().Count(), 1);
    EXPECT_EQ(explorer->Selection().Item(1), mail);
    EXPECT_THROW(explorer->Selection().Item(2), HostError);
    explorer->Select({mail}); // no longer heard
    EXPECT_THROW(explorer->Select({nullptr}), HostError);
    explorer->SetCurrentFolder(host.folder(olFolderCalendar));
    EXPECT_EQ(explorer->CurrentFolder()->Name(), "Calendar");
    EXPECT_EQ(explorer->Selection().Count(), 0);
    EXPECT_EQ(events, (std::vector<std::string>{"select", "switch"}));
    EXPECT_THROW(explorer->SetCurrentFolder(nullptr), HostError);

    int closed = 0;
    auto c = explorer->CloseEvent().subscribe([&] { ++closed; });
    host.closeAllExplorers();
    EXPECT_EQ(closed, 1);
    EXPECT_EQ(app.ActiveExplorer(), nullptr);
    EXPECT_EQ(app.Explorers().Count(), 0);
    EXPECT_THROW(explorer->Close(), HostError);

    // An explorer from GetExplorer is not shown and joins no list, but has the shared bars.
    auto hidden = host.folder(olFolderInbox)->GetExplorer();
    EXPECT_EQ(hidden->CurrentFolder()->Name(), "Inbox");
    EXPECT_EQ(app.Explorers().Count(), 0);
    EXPECT_NE(hidden->CommandBars().Item("Menu Bar").FindControl(msoControlPopup, 30007), nullptr);
    InMemoryHost headless(false, false);
    EXPECT_EQ(headless.application().ActiveExplorer(), nullptr);
    headless.addExplorer();
    EXPECT_NE(headless.application().ActiveExplorer(), nullptr);
}

TEST(Explorer, QuitIsOnlyARequest) {
    InMemoryHost host;
    EXPECT_FALSE(host.application().QuitRequested());
    host.application().Quit();
    EXPECT_TRUE(host.application().QuitRequested());
    EXPECT_NE(host.application().ActiveExplorer(), nullptr);
}
