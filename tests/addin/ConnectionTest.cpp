// Tests of the add-in's connection and termination: the dormant start, the language step,
// the command bars built and rebuilt, and a terminate with nothing to close.
#include "addin/AddInDesigner1.h"
#include "addin/CommandBars.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace velmora {
namespace {

using testing::TestSession;

host::CommandBar& bar(TestSession& s, const std::string& name) {
    return s.host.application().ActiveExplorer()->CommandBars().Item(name);
}

int countTagged(host::CommandBarControls& controls, const std::string& tag) {
    int n = 0;
    for (int i = 1; i <= controls.Count(); ++i)
        if (controls.Item(i)->Tag() == tag) ++n;
    return n;
}

TEST(Connection, WithoutExplorerTheAddinStaysDormant) {
    TestSession s;
    s.state.storeConnection.reset();
    s.host.closeAllExplorers();
    AddInDesigner1 addin(s.state);
    addin.AddinInstance_OnConnection(s.host.application());
    EXPECT_FALSE(s.state.storeConnection);
    EXPECT_FALSE(s.state.mailLinks);
    EXPECT_FALSE(addin.menu().hasExplorer());
    EXPECT_TRUE(s.messages.shown.empty());
    addin.AddinInstance_Terminate();
    EXPECT_TRUE(s.messages.shown.empty()) << "terminate with nothing open is silent";
}

TEST(Connection, LanguageIsChineseOnlyForTheExactCN) {
    const std::string key = "Software\\OutLook Sync Velmora";
    struct Case {
        std::optional<std::string> value;
        bool chinese;
    };
    for (const Case& c : {Case{"CN", true}, Case{std::nullopt, true}, Case{"cn", false}}) {
        TestSession s;
        if (c.value)
            s.registry.SetValue(key, "Language", registry::textValue(*c.value));
        else
            s.registry.DeleteValue(key, "Language");
        AddInDesigner1 addin(s.state);
        addin.AddinInstance_OnConnection(s.host.application());
        EXPECT_EQ(s.state.isChinese, c.chinese) << c.value.value_or("(missing)");
        EXPECT_EQ(s.state.syncWindowCaption,
                  c.chinese ? "Velmora－Outlook信息同步" : "Synchronize Outlook - Velmora");
        EXPECT_TRUE(s.state.storeConnection && s.state.storeConnection->IsOpen());
        EXPECT_TRUE(s.messages.shown.empty()) << s.messages.lastText();
        addin.AddinInstance_Terminate();
        EXPECT_FALSE(s.state.storeConnection);
    }
}

TEST(CommandBars, BuiltOnFirstStartAndRebuiltWithoutDuplicates) {
    TestSession s;
    for (int start = 0; start < 2; ++start) {
        AddInDesigner1 addin(s.state);
        addin.AddinInstance_OnConnection(s.host.application());
        ASSERT_TRUE(s.messages.shown.empty()) << s.messages.lastText();
        EXPECT_FALSE(s.host.application().QuitRequested());
        auto& menuBar = bar(s, "Menu Bar");
        EXPECT_EQ(countTagged(menuBar.Controls(), tagMenuBar), 1);
        auto popup = menuBar.FindControl(host::msoControlPopup, 0, tagMenuBar);
        ASSERT_TRUE(popup);
        EXPECT_EQ(popup->Index(), 6);
        auto& entries = popup->Controls();
        ASSERT_EQ(entries.Count(), 3) << "start " << start;
        EXPECT_EQ(entries.Item(1)->Caption(), "Share&&Attach...");
        EXPECT_EQ(entries.Item(2)->Caption(), "Sync Velmora...");
        EXPECT_EQ(entries.Item(3)->Caption(), "About...");
        EXPECT_TRUE(entries.Item(3)->BeginGroup());
        EXPECT_TRUE(std::filesystem::exists(entries.Item(1)->Face()));
        EXPECT_EQ(entries.Item(3)->Face(), "");

        auto& standard = bar(s, "Standard").Controls();
        EXPECT_EQ(countTagged(standard, tagShareAndAttach), 1);
        EXPECT_EQ(countTagged(standard, tagSyncVelmora), 1);
        auto find = bar(s, "Standard").FindControl(0, idFindButton);
        auto share = bar(s, "Standard").FindControl(0, 0, tagShareAndAttach);
        auto sync = bar(s, "Standard").FindControl(0, 0, tagSyncVelmora);
        EXPECT_EQ(share->Index(), find->Index() + 1);
        EXPECT_EQ(sync->Index(), share->Index() + 1);
        EXPECT_EQ(share->Caption(), "Share&&Attach to...");
        EXPECT_TRUE(share->Visible()) << "the explorer opens on the Inbox";
        addin.AddinInstance_Terminate();
    }
}

TEST(CommandBars, WithoutFindTheButtonsFollowTheLastVisibleControl) {
    TestSession s;
    s.host.removeBuiltIn(idFindButton);
    AddInDesigner1 addin(s.state);
    addin.AddinInstance_OnConnection(s.host.application());
    auto& standard = bar(s, "Standard").Controls();
    const int count = standard.Count();
    EXPECT_EQ(standard.Item(count - 1)->Tag(), tagShareAndAttach);
    EXPECT_EQ(standard.Item(count)->Tag(), tagSyncVelmora);
}

TEST(CommandBars, InspectorAttachButtonAfterInsertFileAndOnlyForMails) {
    TestSession s;
    AddInDesigner1 addin(s.state);
    addin.AddinInstance_OnConnection(s.host.application());
    auto mail = s.host.application().CreateItem(host::olMailItem);
    auto inspector = s.host.application().OpenInspector(mail);
    auto& standard = inspector->CommandBars().Item("Standard");
    auto insertFile = standard.FindControl(0, idInsertFile);
    auto attach = standard.FindControl(0, 0, tagAttach);
    ASSERT_TRUE(attach);
    EXPECT_EQ(attach->Index(), insertFile->Index() + 1);
    EXPECT_EQ(attach->Caption(), "Attach");
    EXPECT_EQ(attach->State(), host::msoButtonUp);

    attach->Execute();
    EXPECT_TRUE(addin.menu().armed(mail));
    attach->Execute();
    EXPECT_FALSE(addin.menu().armed(mail));

    auto contact = s.host.application().CreateItem(host::olContactItem);
    auto contactWindow = s.host.application().OpenInspector(contact);
    EXPECT_FALSE(contactWindow->CommandBars().Item("Standard").FindControl(0, 0, tagAttach));
    EXPECT_TRUE(s.messages.shown.empty()) << s.messages.lastText();
}

TEST(CommandBars, InspectorAttachButtonAtTheEndWithoutInsertFileOrWhenItsLookupFails) {
    TestSession s;
    AddInDesigner1 addin(s.state);
    addin.AddinInstance_OnConnection(s.host.application());
    auto attachOf = [&](const host::InspectorPtr& window) {
        auto& standard = window->CommandBars().Item("Standard");
        auto attach = standard.FindControl(0, 0, tagAttach);
        return attach && attach->Index() == standard.Controls().Count() ? attach : nullptr;
    };

    // The lookup fails: its message, then the button all the same, last on the bar.
    s.host.failMember("CommandBarControl.Id", "Id refused");
    auto mail = s.host.application().CreateItem(host::olMailItem);
    auto window = s.host.application().OpenInspector(mail);
    s.host.clearFaults();
    ASSERT_EQ(s.messages.shown.size(), 1u) << s.messages.lastText();
    EXPECT_EQ(s.messages.lastText(), "am3>Id refused");
    auto attach = attachOf(window);
    ASSERT_TRUE(attach) << "the Attach button is the bar's last control";
    attach->Execute();
    EXPECT_TRUE(addin.menu().armed(mail)) << "and it is the hub's toggle";

    // No control 1074 at all: no message, the button at the end.
    s.messages.clear();
    s.host.removeBuiltIn(idInsertFile);
    auto other =
        s.host.application().OpenInspector(s.host.application().CreateItem(host::olMailItem));
    EXPECT_TRUE(attachOf(other));
    EXPECT_TRUE(s.messages.shown.empty()) << s.messages.lastText();
}

} // namespace
} // namespace velmora
