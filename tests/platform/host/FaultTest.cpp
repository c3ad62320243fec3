// Tests of fault injection: a member set to fail raises HostError with the chosen description,
// for the chosen number of calls, and leaves the host's data untouched.
#include "platform/host/InMemoryHost.h"

#include "support/ErrorText.h"

#include <gtest/gtest.h>

using namespace velmora::host;

namespace {

using velmora::testing::errorText;

} // namespace

TEST(Faults, MembersFailAsToldAndRecover) {
    InMemoryHost host;
    auto items = host.folder(olFolderContacts)->Items();
    auto c = items->Add(olContactItem);
    c->Set("FullName", "Ann Lee");
    c->Save();
    const std::string id = c->EntryID();

    host.failMember("Items.Find", "Find broke", 2);
    EXPECT_EQ(errorText<HostError>([&] { items->Find("[FullName] = 'Ann Lee'"); }), "Find broke");
    EXPECT_EQ(errorText<HostError>([&] { items->Find("[FullName] = 'Ann Lee'"); }), "Find broke");
    EXPECT_EQ(items->Find("[FullName] = 'Ann Lee'"), c); // the third call works again

    host.failMember("item.get.fullname", "no name"); // names compare without case
    EXPECT_EQ(errorText<HostError>([&] { c->Text("FULLNAME"); }), "no name");
    EXPECT_EQ(c->Text("FileAs"), "Lee, Ann"); // other properties still answer

    host.failMember("Item.Save", "disk full");
    c->Set("CompanyName", "Acme");
    int changes = 0;
    auto s = items->ItemChange().subscribe([&](ItemPtr) { ++changes; });
    EXPECT_EQ(errorText<HostError>([&] { c->Save(); }), "disk full");
    EXPECT_EQ(changes, 0);

    auto& ns = host.application().GetNamespace("MAPI");
    host.failMember("NameSpace.GetItemFromID", "offline");
    EXPECT_EQ(errorText<HostError>([&] { ns.GetItemFromID(id); }), "offline");
    host.failMember("CommandBarControl.Delete", "locked");
    auto& menu = host.application().ActiveExplorer()->CommandBars().Item("Menu Bar");
    auto tools = menu.FindControl(msoControlPopup, 30007);
    EXPECT_EQ(errorText<HostError>([&] { tools->Delete(); }), "locked");
    host.failMember("Application.Inspectors", "no windows", 1);
    EXPECT_EQ(errorText<HostError>([&] { host.application().Inspectors(); }), "no windows");
    host.failMember("CommandBars.Item", "bars gone");
    EXPECT_EQ(errorText<HostError>(
                  [&] { host.application().ActiveExplorer()->CommandBars().Item("Standard"); }),
              "bars gone");

    host.clearFaults();
    EXPECT_EQ(ns.GetItemFromID(id), c);
    EXPECT_EQ(c->Text("FullName"), "Ann Lee");
    c->Save();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(menu.FindControl(msoControlPopup, 30007), tools); // the failed delete kept it
    EXPECT_THROW(host.failMember("Items.Find", "x", 0), HostError);
    EXPECT_THROW(host.failMember("", "x"), HostError);
}
