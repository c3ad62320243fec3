// Tests of group sharing through the task, contact and mail-appointment dialogs: the groups
// offered, confirmations that insert, reactivate and withdraw, extension rows, server id forms,
// the touch on close, quotes in group data, and a confirmation failing half-way rolled back.
#include "dialogs/share/ShareGroupDialog.h"
#include "platform/ado/Recordset.h"
#include "support/ErrorText.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::TestSession;

class Sharing : public ::testing::Test {
  protected:
    Sharing() {
        s.state.isChinese = false;
        group("g1", "alice", "Sales", 2, 3);
        group("g2", "bob", "Board", 1, 3);
        group("g3", "carol", "All", 3, 4);
        group("g4", "dave", "Readers", 3, 2); // the user's level is too low to share into it
    }
    void group(const std::string& id, const std::string& creator, const std::string& name,
               int modules, int access) {
        s.exec("insert into GroupTb (GroupID, GroupName, Creator, Modules) values ('" +
               ado::sqlText(id) + "','" + ado::sqlText(name) + "','" + ado::sqlText(creator) +
               "'," + std::to_string(modules) + ")");
        s.exec("insert into Group_User (GroupID, loginname, Access) values ('" + ado::sqlText(id) +
               "','alice'," + std::to_string(access) + ")");
    }
    host::ItemPtr selected(int folder, int type) {
        auto item = s.host.folder(folder)->Items()->Add(type);
        item->Set(type == host::olContactItem ? "FullName" : "Subject", std::string("Item"));
        item->Save();
        s.host.application().ActiveExplorer()->Select({item});
        return item;
    }
    static std::string keys(dialogs::ShareGroupDialog& d, const char* list) {
        std::string text;
        const auto& rows = d.form().get<controls::ListView>(list).ListItems();
        for (int i = 1; i <= rows.Count(); ++i)
            text += (i > 1 ? "," : "") + rows.Item(i).Key();
        return text;
    }
    static void pick(dialogs::ShareGroupDialog& d, const std::string& key) {
        auto& left = d.form().get<controls::ListView>("ListViewLeft");
        left.setSelectedItem(&left.ListItems().Item(key));
        d.form().get<controls::CommandButton>("cmdMoveFields1").click();
    }
    static void click(dialogs::ShareGroupDialog& d, const char* button) {
        d.form().get<controls::CommandButton>(button).click();
    }
    // Opens the dialog, moves one group to the right (or all back to the left) and confirms.
    static void shareWith(dialogs::ShareGroupDialog& d, const std::string& key) {
        d.Show();
        pick(d, key);
        click(d, "OK");
    }
    static void withdrawAll(dialogs::ShareGroupDialog& d) {
        d.Show();
        click(d, "cmdMoveFields3");
        click(d, "OK");
    }
    std::string rows(const std::string& sql) {
        std::string text;
        ado::Recordset rs;
        rs.Open(sql, s.state.connection());
        for (; !rs.IsEOF(); rs.MoveNext()) {
            for (int c = 0; c < rs.FieldCount(); ++c)
                text += (c ? "|" : "") + rs.Fields(c).Value().text();
            text += ";";
        }
        return text;
    }

    TestSession s;
};

TEST_F(Sharing, EachDialogOffersTheGroupsOfItsModulesBit) {
    auto task = selected(host::olFolderTasks, host::olTaskItem);
    dialogs::ShareTaskGroup tasks(s.state);
    tasks.Show();
    EXPECT_EQ(keys(tasks, "ListViewLeft"), "g1,g3");
    EXPECT_EQ(s.state.activeDialog, dialogShareTask);
    EXPECT_FALSE(tasks.form().get<controls::CommandButton>("OK").Enabled());
    EXPECT_EQ(tasks.form().get<controls::TabControl>("SSTab1").TabCaption(0), "Share Task");
    click(tasks, "Cancel");
    EXPECT_EQ(s.state.activeDialog, dialogNone);

    selected(host::olFolderContacts, host::olContactItem);
    dialogs::ShareContactGroup contacts(s.state);
    contacts.Show();
    EXPECT_EQ(keys(contacts, "ListViewLeft"), "g2,g3");
    EXPECT_EQ(s.state.activeDialog, dialogShareContact);
    click(contacts, "Cancel");

    dialogs::shareEmailGroups mail(s.state);
    mail.setAppointmentObj("APPT", "MAIL");
    s.state.isChinese = true;
    mail.Show();
    EXPECT_EQ(keys(mail, "ListViewLeft"), "g1,g3");
    EXPECT_EQ(mail.form().Caption(), "分享事件");
    EXPECT_EQ(mail.form().get<controls::Label>("Label3").Caption(), "分享的组:");
    EXPECT_EQ(s.state.activeDialog, dialogNone) << "the mail kind leaves activeDialog alone";
    (void)task;
}

TEST_F(Sharing, ConfirmingInsertsThenReactivatesAndAnEmptyListWithdrawsAll) {
    auto task = selected(host::olFolderTasks, host::olTaskItem);
    s.mapTask(task->EntryID(), "ann_lee_42");
    const std::string shares =
        "select GroupID, DID, IsDel, IsDirty from Group_Todo order by GroupID";
    dialogs::ShareTaskGroup dialog(s.state);

    dialog.Show();
    EXPECT_FALSE(dialog.form().get<controls::CommandButton>("OK").Enabled());
    click(dialog, "cmdMoveFields4"); // no current row on the right: nothing changes
    EXPECT_FALSE(dialog.form().get<controls::CommandButton>("OK").Enabled());
    click(dialog, "Cancel");
    EXPECT_EQ(rows(shares), "");
    EXPECT_EQ(s.count("select * from TodoExt"), 0);

    for (int round = 0; round < 2; ++round) {
        dialog.Show();
        EXPECT_EQ(keys(dialog, "ListViewRight"), round == 0 ? "" : "g1");
        if (round == 0) pick(dialog, "g1");
        // Brought back to what it was: still a change, so every share is written again.
        if (round == 1) {
            click(dialog, "cmdMoveFields3");
            pick(dialog, "g1");
        }
        click(dialog, "OK");
        EXPECT_EQ(rows(shares), "g1|ann_lee_42|0|1;") << "round " << round;
    }
    EXPECT_EQ(rows("select todoid, id, creator, PrivateAccess from TodoExt"),
              "ann_lee_42|42|ann_lee|0;");

    withdrawAll(dialog);
    EXPECT_EQ(rows(shares), "g1|ann_lee_42|1|0;");
    EXPECT_EQ(rows("select PrivateAccess from TodoExt"), "1;");
    EXPECT_FALSE(s.messages.shown.size()) << s.messages.lastText();
}

TEST_F(Sharing, ItemsWithoutServerIdAndContactsKeepTheirOwnForms) {
    auto contact = selected(host::olFolderContacts, host::olContactItem);
    dialogs::ShareContactGroup dialog(s.state);
    shareWith(dialog, "g2");
    EXPECT_EQ(rows("select GroupID, CID, OutlookCID from Group_Contact"),
              "g2|-1|" + contact->EntryID() + ";");
    EXPECT_EQ(s.count("select * from ContactExt"), 0) << "no server id, no extension row";

    s.mapContact(contact->EntryID(), "bob_9");
    withdrawAll(dialog);
    EXPECT_EQ(rows("select ContactId, corder, creator, PrivateAccess from ContactExt"),
              "bob_9|9|bob|1;");
}

TEST_F(Sharing, AFailingConfirmationLeavesTheSharesAsTheyWere) {
    auto task = selected(host::olFolderTasks, host::olTaskItem);
    dialogs::ShareTaskGroup dialog(s.state);
    shareWith(dialog, "g1");
    ASSERT_EQ(s.count("select * from Group_Todo where IsDel=0"), 1);

    // A number beyond 16 bits fails at the extension row, after the withdraw-all has run.
    s.mapTask(task->EntryID(), "ann_70000");
    shareWith(dialog, "g3");
    EXPECT_EQ(s.messages.lastText().rfind("stg1>>Overflow", 0), 0u) << s.messages.lastText();
    EXPECT_EQ(s.count("select * from Group_Todo where IsDel=0 and GroupID='g1'"), 1);
    EXPECT_EQ(s.count("select * from Group_Todo where GroupID='g3'"), 0);
    EXPECT_FALSE(dialog.form().Loaded()) << "OK closes the dialog whatever happened";

    // A statement failing in the last step, once earlier ones ran, rolls back as well.
    s.exec("update TodosID set velmoraid='ann_7' where outlookid='" + task->EntryID() + "'");
    s.refuseInserts("Group_Todo", "new.GroupID='g3'", "refused by the store");
    shareWith(dialog, "g3");
    EXPECT_TRUE(testing::trapped(s.messages.lastText(), "stg1>>", "refused by the store"))
        << s.messages.lastText();
    EXPECT_EQ(s.count("select * from Group_Todo where IsDel=0 and GroupID='g1'"), 1);
    EXPECT_EQ(s.count("select * from TodoExt"), 0);
}

TEST_F(Sharing, TheTaskIsTouchedOnCloseAfterAnyChange) {
    auto task = selected(host::olFolderTasks, host::olTaskItem);
    int saves = 0;
    auto counter = s.host.folder(host::olFolderTasks)
                       ->Items()
                       ->ItemChange()
                       .subscribe([&](const host::ItemPtr&) { ++saves; });
    dialogs::ShareTaskGroup dialog(s.state);
    dialog.Show();
    click(dialog, "Cancel");
    EXPECT_EQ(saves, 0);
    dialog.Show();
    pick(dialog, "g1");
    click(dialog, "Cancel");
    EXPECT_EQ(saves, 1);
    EXPECT_TRUE(s.state.skipNextItemEvent) << "the hub must ignore the touch";
    EXPECT_EQ(s.count("select * from Group_Todo"), 0) << "Cancel writes no share";
    EXPECT_EQ(task->Subject(), "Item");
}

TEST_F(Sharing, QuotesInGroupsAndTheMailKindsPrivacy) {
    group("o'neil's", "o'neil", "Ann's \"team\"", 2, 5);
    s.exec("insert into noteTb (OutlookAttachID, OutlookContactID, Creator, PrivateAccess) values "
           "('MAIL', 'C1', 'bob', 1)");
    s.exec("insert into Group_Task (GroupID, tid, OutlookAppID, IsDel, IsDirty) values "
           "('g1', '-1', 'APPT', 0, 0)");
    dialogs::shareEmailGroups dialog(s.state);
    dialog.setAppointmentObj("APPT", "MAIL");
    dialog.Show();
    EXPECT_EQ(keys(dialog, "ListViewRight"), "") << "only shares not yet carried are listed";
    pick(dialog, "o'neil's");
    click(dialog, "OK");
    EXPECT_EQ(rows("select GroupID, IsDel, IsDirty from Group_Task order by GroupID"),
              "g1|1|0;o'neil's|0|1;");
    EXPECT_EQ(rows("select PrivateAccess from noteTb"), "0;");

    dialog.Show();
    EXPECT_EQ(keys(dialog, "ListViewRight"), "o'neil's");
    click(dialog, "cmdMoveFields3");
    click(dialog, "OK");
    EXPECT_EQ(rows("select PrivateAccess from noteTb"), "1;");
    EXPECT_EQ(s.count("select * from Group_Task where IsDel=0"), 0);
}

} // namespace
} // namespace velmora
