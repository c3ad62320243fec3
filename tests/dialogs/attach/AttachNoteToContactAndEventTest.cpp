// Tests of the attach-note dialog on the in-memory host and the SQLite store: an unlinked note,
// private and shared contact links, emptied event links, search rows without a contact, Chinese.
#include "dialogs/attach/AttachNoteToContactAndEvent.h"
#include "AttachFixture.h"
#include "links/attachNote.h"
#include "platform/controls/EntryControls.h"
#include "platform/host/DateText.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

class AttachNote : public testing::AttachFixture {
  protected:
    explicit AttachNote(bool chinese = false) : AttachFixture(chinese) {
        note = s.host.folder(host::olFolderNotes)->Items()->Add(host::olNoteItem);
        note->Set("Body", std::string("Call Bob's office"));
        note->Save();
        s.host.application().ActiveExplorer()->Select({note});
        key = ado::sqlText(note->EntryID());
    }
    // A row as the searches add it to a left list.
    void offer(const char* listName, const host::ItemPtr& item) {
        const bool isContact = item->Class() == host::olContact;
        AddListRow(list(listName), isContact ? 2 : 3, item->EntryID(),
                   item->Text(isContact ? "FullName" : "Subject"),
                   item->Text(isContact ? "Email1Address" : "CreationTime"), "alice");
    }
    controls::Form& form() { return dialog.form(); }
    controls::ListView& list(const char* name) { return form().get<controls::ListView>(name); }
    controls::CheckBox& share() { return form().get<controls::CheckBox>("checkNoteShare"); }
    void click(const char* name) { form().get<controls::CommandButton>(name).click(); }
    bool enabled(const char* name) { return form().find(name)->Enabled(); }
    bool visible(const char* name) { return form().find(name)->Visible(); }
    int rows(const char* name) { return list(name).ListItems().Count(); }
    long events(const char* deleted) {
        return s.count("select * from ToEvent where MakeDelete=" + std::string(deleted) +
                       " and OutlookEmailID='" + key + "'");
    }
    std::string refCount() {
        return s.scalar("select RefCount from NoteHistory where outlooknoteid='" + key + "'");
    }
    void reopen() {
        form().unload();
        dialog.Show();
    }

    host::ItemPtr note;
    std::string key;
    dialogs::AttachNoteToContactAndEvent dialog{s.state};
};

TEST_F(AttachNote, ANoteWithoutLinksOpensEmptyAndAttachingNothingWritesNothing) {
    s.state.ui.noteTab = 1;
    dialog.Show();
    EXPECT_EQ(s.state.activeDialog, dialogAttachNote);
    EXPECT_EQ(form().get<controls::TabControl>("SSTabNote").Tab(), 1);
    EXPECT_EQ(rows("ListViewRight") + rows("ListViewRightPlus"), 0);
    EXPECT_FALSE(enabled("checkNoteShare"));
    EXPECT_FALSE(share().checked());
    EXPECT_FALSE(enabled("cmdProp1") || enabled("cmdProp2"));
    EXPECT_FALSE(enabled("cmdNotetoContact") || enabled("cmdNotetoEvent"));
    EXPECT_FALSE(visible("doneTab1") || visible("doneTab2"));
    EXPECT_EQ(form().find("cmdClose")->TabIndex(), 0);

    // The Attach buttons with nothing chosen change neither the note nor the store.
    form().find("cmdNotetoEvent")->setEnabled(true);
    click("cmdNotetoEvent");
    EXPECT_TRUE(visible("doneTab2")) << "no event moved: only the done label";
    EXPECT_FALSE(s.state.skipNextItemEvent);
    click("cmdMoveFields3");
    click("cmdNotetoContact");
    click("cmdMoveFieldsPlus3");
    click("cmdNotetoEvent");
    EXPECT_EQ(note->Links().Count(), 0);
    for (const char* table : {"noteTb", "ToEvent", "NoteHistory"})
        EXPECT_EQ(s.count(std::string("select * from ") + table), 0) << table;
    EXPECT_TRUE(s.messages.shown.empty()) << s.messages.lastText();

    form().get<controls::TabControl>("SSTabNote").setTab(0);
    click("cmdClose");
    EXPECT_EQ(s.state.activeDialog, dialogNone);
    EXPECT_EQ(s.state.ui.noteTab, 0);

    // Without a store the dialog still opens, says why its lists are empty, and closes.
    s.state.storeConnection.reset();
    dialog.Show();
    EXPECT_EQ(s.messages.lastText(), "iniAttachNoteToEvent :The link store connection is not open");
    EXPECT_FALSE(enabled("cmdNotetoContact"));
    form().unload();
    EXPECT_EQ(s.state.activeDialog, dialogNone);
}

TEST_F(AttachNote, TwoContactsAreAttachedPrivatelyThenShared) {
    const auto ann = contact("Ann Lee", "ann@example.com");
    const auto bob = contact("Bob O'Neil", "bob@example.com");
    dialog.Show();
    offer("ListViewLeft", ann);
    offer("ListViewLeft", bob);
    click("cmdMoveFields2");
    EXPECT_TRUE(enabled("checkNoteShare") && enabled("cmdProp1") && enabled("cmdNotetoContact"));
    click("cmdNotetoContact");
    EXPECT_TRUE(visible("doneTab1") && !enabled("cmdNotetoContact") && s.state.skipNextItemEvent);
    EXPECT_EQ(note->Links().Count(), 2);
    EXPECT_EQ(s.count("select * from noteTb where OutlookAttachID='" + key +
                      "' and type=4 and MakeDelete=0 and PrivateAccess=1 and "
                      "Regarding='Call Bob''s office'"),
              2);
    EXPECT_EQ(refCount(), "2");

    // Reopened: both are listed and private, whatever was ticked but not attached; sharing
    // rewrites the same two rows.
    share().click();
    reopen();
    EXPECT_EQ(rows("ListViewRight"), 2);
    EXPECT_TRUE(enabled("checkNoteShare") && !share().checked() && !enabled("cmdNotetoContact"));
    share().click();
    click("cmdNotetoContact");
    EXPECT_EQ(s.count("select * from noteTb where OutlookAttachID='" + key + "'"), 2);
    EXPECT_EQ(s.count("select * from noteTb where PrivateAccess=0 and MakeDelete=0"), 2);

    bob->Delete();
    reopen();
    EXPECT_TRUE(share().checked());
    ASSERT_EQ(rows("ListViewRight"), 1) << "a deleted contact is not listed";
    list("ListViewRight").setSelectedItem(nullptr);
    click("cmdProp1");
    EXPECT_EQ(s.messages.lastText(), "Please select a contact item！");
    EXPECT_EQ(s.messages.shown.back().style & windows::vbInformation, windows::vbInformation);
}

TEST_F(AttachNote, EmptyingTheEventListMarksTheLinksDeletedAndDropsTheHistory) {
    const auto review = appointment("Review", 8);
    const auto launch = appointment("Launch", 9);
    const auto ann = contact("Ann Lee", "ann@example.com");
    dialog.Show();
    offer("ListViewLeft", ann);
    click("cmdMoveFields2");
    click("cmdNotetoContact");
    offer("ListViewLeftPlus", review);
    offer("ListViewLeftPlus", launch);
    click("cmdMoveFieldsPlus2");
    click("cmdNotetoEvent");
    EXPECT_EQ(events("0"), 2);
    EXPECT_EQ(refCount(), "3") << "one contact and two events";

    // With the contact still linked, the history keeps the contact count.
    reopen();
    EXPECT_EQ(rows("ListViewRightPlus"), 2);
    click("cmdMoveFieldsPlus3");
    EXPECT_FALSE(enabled("cmdProp2"));
    click("cmdNotetoEvent");
    EXPECT_EQ(events("1"), 2) << "soft-deleted, not removed";
    EXPECT_EQ(refCount(), "1");

    // Linked again, both events revive their rows; then without any link the history goes.
    click("cmdMoveFieldsPlus2");
    click("cmdNotetoEvent");
    EXPECT_EQ(events("0") + events("1"), 2);
    EXPECT_EQ(events("0"), 2);
    click("cmdMoveFields3");
    click("cmdNotetoContact");
    EXPECT_EQ(refCount(), "2");
    click("cmdMoveFieldsPlus3");
    click("cmdNotetoEvent");
    EXPECT_EQ(events("0"), 0);
    EXPECT_EQ(s.count("select * from NoteHistory"), 0);
    EXPECT_TRUE(s.messages.shown.empty()) << s.messages.lastText();
}

TEST_F(AttachNote, SearchRowsWithoutAContactStayOutOfTheOutlookLinksOnly) {
    const auto ann = contact("Ann Lee", "ann@example.com");
    dialog.Show();
    dialog.contactSearch().form().setModalScript([&](controls::Form& search) {
        // A row that names no Outlook contact, beside what the search finds.
        AddListRow(*s.state.searchTarget, 2, "-1", "Walk-in Guest", "guest@example.com", "alice");
        search.get<controls::TextBox>("searchWords").type("ann");
        search.get<controls::CommandButton>("Search").click();
        auto& found = search.get<controls::ListView>("ListView");
        ASSERT_EQ(found.ListItems().Count(), 1);
        found.checkItem(found.ListItems().Item(1), true);
        search.get<controls::CommandButton>("OK").click();
    });
    click("cmdSearch");
    ASSERT_EQ(rows("ListViewLeft"), 2);
    click("cmdMoveFields2");
    click("cmdNotetoContact");
    ASSERT_EQ(note->Links().Count(), 1);
    EXPECT_EQ(note->Links().Item(1)->EntryID(), ann->EntryID());
    // The store records every row the user chose, as listed.
    EXPECT_EQ(s.count("select * from noteTb where OutlookAttachID='" + key + "' and MakeDelete=0"),
              2);
    EXPECT_EQ(s.count("select * from noteTb where OutlookContactID='" +
                      list("ListViewRight").ListItems().Item(2).Key() + "'"),
              1);
    EXPECT_EQ(refCount(), "2");
    EXPECT_EQ(rows("ListViewRight"), 2) << "the user's list is left as it was";
}

TEST_F(AttachNote, AColleaguesSharedLinkThatIsNotListedIsNeitherLostNorHidden) {
    // Bob shared the note with a contact that is not in this user's Contacts folder.
    s.exec("insert into noteTb (Type, Creator, PrivateAccess, MakeDelete, contactID, "
           "OutlookContactID, OutlookAttachID) values (4, 'bob', 0, 0, 'bob_7', 'bob-contact', '" +
           key + "')");
    dialog.Show();
    EXPECT_EQ(rows("ListViewRight"), 0);
    EXPECT_TRUE(enabled("checkNoteShare")) << "the options follow the stored links";
    EXPECT_TRUE(share().checked()) << "the stored link is shared";

    // Attaching an empty list to a note without Outlook links stops before the store.
    share().setValue(controls::vbUnchecked);
    click("cmdNotetoContact");
    EXPECT_EQ(s.count("select * from noteTb where Creator='bob' and MakeDelete=0"), 1);
}

class AttachNoteChinese : public AttachNote {
  protected:
    AttachNoteChinese() : AttachNote(true) {}
};

TEST_F(AttachNoteChinese, TheChineseCaptionsAndMessages) {
    dialog.Show();
    auto& tabs = form().get<controls::TabControl>("SSTabNote");
    EXPECT_EQ(form().Caption(), "绑定备忘录");
    EXPECT_EQ(tabs.TabCaption(0) + "|" + tabs.TabCaption(1), "绑定到联系人|绑定到事件");
    std::string captions;
    for (const char* name : {"cmdSearch", "cmdProp1", "checkNoteShare", "cmdNotetoContact",
                             "doneTab1", "cmdSearchPlus", "cmdProp2", "cmdClose"})
        captions += form().find(name)->Caption() + "|";
    EXPECT_EQ(
        captions,
        "查找联系人. . .|属性. . .|随联系人分享|确定|绑定成功!|查找事件. . .|属性. . .|关闭|");
    EXPECT_EQ(list("ListViewRight").ColumnHeaders().Item(2).text, "姓名");
    EXPECT_EQ(list("ListViewLeftPlus").ColumnHeaders().Item(3).text, "创建时间");

    const auto review = appointment("Review", 8);
    offer("ListViewLeftPlus", review);
    click("cmdMoveFieldsPlus2");
    list("ListViewRightPlus").setSelectedItem(nullptr);
    click("cmdProp2");
    EXPECT_EQ(s.messages.lastText(), "请先择一个要显示的日历！");
}

} // namespace
} // namespace velmora
