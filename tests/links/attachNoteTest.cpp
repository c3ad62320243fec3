// Tests of the note link engine on the real store and the in-memory host: relinks that revive
// rows, RefCount across contact and event links, history removal, quoted texts and failures.
#include "links/attachNote.h"
#include "platform/controls/ListView.h"
#include "support/ErrorText.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::TestSession;

class NoteLinks : public ::testing::Test {
  protected:
    TestSession s;
    attachNote engine{s.state};
    host::ItemPtr note = saved(host::olNoteItem, "Body", "Call back");
    host::ItemPtr ann = saved(host::olContactItem, "FullName", "Ann Lee");
    host::ItemPtr bob = saved(host::olContactItem, "FullName", "Bob Roe");

    host::ItemPtr saved(int type, const char* property, const std::string& value) {
        host::ItemPtr item = s.host.application().CreateItem(type);
        item->Set(property, value);
        item->Save();
        return item;
    }
    // Columns joined with "|": one comparison shows the whole row.
    std::string link(const host::ItemPtr& contact, const std::string& columns) {
        return s.scalar("select " + columns + " from noteTb where OutlookAttachID='" +
                        note->EntryID() + "' and OutlookContactID='" + contact->EntryID() + "'");
    }
    std::string history(const std::string& column) {
        return s.scalar("select " + column + " from NoteHistory where outlooknoteid='" +
                        note->EntryID() + "'");
    }
    void keys(controls::ListView& list, const std::vector<host::ItemPtr>& contacts) {
        for (const auto& c : contacts)
            list.ListItems().Add(0, c->EntryID());
    }
};

TEST_F(NoteLinks, RelinkRevivesTheSameRowAndSparesOtherUsersPrivateLinks) {
    s.mapNote(note->EntryID(), "carol_7");
    s.mapContact(ann->EntryID(), "alice_1");
    note->Links().Add(ann);
    engine.noteToContact(*note, true);
    EXPECT_EQ(link(ann, "Creator||'|'||contactID||'|'||Attached_ID||'|'||Regarding||'|'||"
                        "PrivateAccess||'|'||type"),
              "carol|alice_1|carol_7|Call back|0|4");

    note->Links().Remove(1);
    note->Set("Body", std::string());
    engine.noteToContact(*note, false);
    EXPECT_EQ(link(ann, "MakeDelete"), "1") << "a shared link is anyone's to remove";
    EXPECT_EQ(s.count("select * from NoteHistory"), 0) << "no contacts and no events left";

    note->Links().Add(ann);
    engine.noteToContact(*note, false);
    EXPECT_EQ(link(ann, "count(*)||'|'||max(MakeDelete)||'|'||max(PrivateAccess)||'|'||"
                        "max(Regarding)"),
              "1|0|1|Call back")
        << "the same row, revived; an empty body keeps the old text";
    EXPECT_EQ(history("RefCount"), "1");

    // Now the link is carol's and private: alice's relink must leave it standing.
    note->Links().Remove(1);
    engine.noteToContact(*note, false);
    EXPECT_EQ(link(ann, "MakeDelete"), "0");
}

TEST_F(NoteLinks, RefCountCountsVisibleContactLinksAndEventLinks) {
    const std::string body = "O'Brien said \"hi\" 你好 " + std::string(100000, 'x');
    note->Set("Body", body);
    note->Set("Categories", std::string("Work's"));
    controls::ListView list("ListViewRight");
    keys(list, {ann, bob});
    engine.noteToContactForListView(*note, list, true);
    EXPECT_EQ(history("RefCount||'|'||category"), "2|Work's");
    EXPECT_EQ(history("regarding"), body);
    EXPECT_EQ(link(bob, "Regarding"), body);

    host::ItemPtr meeting = saved(host::olAppointmentItem, "Subject", "Review");
    host::ItemPtr gone = saved(host::olAppointmentItem, "Subject", "Cancelled");
    host::ItemPtr last = saved(host::olAppointmentItem, "Subject", "Terminator slot");
    const std::string goneId = gone->EntryID();
    gone->Delete();
    s.mapEvent(meeting->EntryID(), "dave_3");
    engine.noteToEvent(*note, {meeting->EntryID(), goneId, last->EntryID()},
                       s.host.folder(host::olFolderCalendar)->StoreID());
    EXPECT_EQ(s.count("select * from ToEvent"), 1) << "deleted and last elements are not linked";
    EXPECT_EQ(s.scalar("select ContactID||'|'||Creator||'|'||type from ToEvent"), "dave_3|alice|4");
    EXPECT_EQ(history("RefCount"), "3");

    note->Set("Body", std::string("It's \"done\" 完成"));
    controls::ListView none("ListViewRight");
    engine.noteToContactForListView(*note, none, true);
    EXPECT_EQ(link(ann, "MakeDelete"), "1");
    EXPECT_EQ(history("RefCount"), "1") << "only the live event link is left";
    EXPECT_EQ(s.scalar("select Regarding from ToEvent"), "It's \"done\" 完成");
    EXPECT_TRUE(s.messages.shown.empty());

    s.exec("update ToEvent set MakeDelete=1");
    engine.noteToContact(*note, true);
    EXPECT_EQ(s.count("select * from NoteHistory"), 0);
}

TEST_F(NoteLinks, AFailedStepUndoesTheRelinkAndEscapingErrorsRollBack) {
    host::ItemPtr cy = saved(host::olContactItem, "FullName", "Cy Doe");
    s.refuseInserts("noteTb", "new.OutlookContactID='" + bob->EntryID() + "'", "row refused");
    controls::ListView list("ListViewRight");
    keys(list, {ann, bob, cy});
    engine.noteToContactForListView(*note, list, false);
    EXPECT_EQ(s.count("select * from noteTb") + s.count("select * from NoteHistory"), 0)
        << "the rows before the refused one are undone with it";
    ASSERT_EQ(s.messages.shown.size(), 1u);
    EXPECT_TRUE(testing::trapped(s.messages.shown[0].text, "updateNoteTb :", "row refused"))
        << s.messages.shown[0].text;
    controls::ListView allowed("ListViewRight");
    keys(allowed, {ann, cy});
    engine.noteToContactForListView(*note, allowed, false);
    EXPECT_EQ(history("RefCount"), "2");

    // With no contacts left and a live event, the body is read outside any step: a host fault
    // there escapes and the soft deletes already issued are rolled back.
    s.exec("insert into ToEvent (OutlookEmailID, OutlookApptID) values ('" + note->EntryID() +
           "','A1')");
    controls::ListView none("ListViewRight");
    s.host.failMember("Item.Get.Body", "body unavailable", 1);
    EXPECT_THROW(engine.noteToContactForListView(*note, none, false), host::HostError);
    EXPECT_EQ(link(ann, "MakeDelete"), "0");

    s.state.storeConnection->Close();
    EXPECT_THROW(engine.noteToContact(*note, false), ado::StoreError);
    engine.noteToEvent(*note, {"A1", ""}, "");
    ASSERT_EQ(s.messages.shown.size(), 2u);
    EXPECT_EQ(s.messages.shown[1].text.rfind("AttachNotetoEvent:", 0), 0u);
    s.state.storeConnection->Open(s.store.connectionString());
    EXPECT_EQ(s.count("select * from noteTb"), 2);
}

} // namespace
} // namespace velmora
