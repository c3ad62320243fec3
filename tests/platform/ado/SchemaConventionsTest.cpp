// The schema against the add-in's own statements: every statement text runs as written, and the
// value conventions hold (True/False literals, quoted numbers, defaults, mixed-case names).
#include "StoreRoundTrip.h"
#include "TempFolder.h"

#include "platform/ado/Recordset.h"
#include "store/Schema.h"
#include "support/TestStore.h"

#include <gtest/gtest.h>

#include <variant>

namespace velmora::ado {
namespace {

class SchemaTest : public ::testing::Test {
  protected:
    void SetUp() override {
        c.Open(store.connectionString());
        createSchema(c);
    }
    std::string scalar(const std::string& sql) {
        Recordset rs;
        rs.Open(sql, c);
        return rs.IsEOF() ? "<no row>" : rs.Fields(0).Value().text();
    }
    // How the store hands the first value back: "integer", "real", "text", "bytes" or "null".
    std::string kindOf(const std::string& sql) {
        Recordset rs;
        rs.Open(sql, c);
        const Value::Data& v = rs.Fields(0).Value().data();
        if (std::holds_alternative<std::int64_t>(v)) return "integer";
        if (std::holds_alternative<double>(v)) return "real";
        if (std::holds_alternative<std::string>(v)) return "text";
        return std::holds_alternative<Blob>(v) ? "bytes" : "null";
    }
    long count(const std::string& sql) {
        Recordset rs;
        rs.Open(sql, c, adOpenKeyset, adLockPessimistic);
        return rs.RecordCount();
    }
    velmora::testing::TestStore store{":memory:"};
    Connection c;
};

TEST_F(SchemaTest, TheAddinsStatementsRunAsWritten) {
    const char* reads[] = {
        "select msgid from EMailsID where outlookid ='e'",
        "select taskid from CalendarId where entryid = 'e'",
        "select velmoraid from ContactsID where outlookid = 'e'",
        "Select velmoraid from TodosID where outlookid='e'",
        "select velmoraid from NotesID where outlookid='e'",
        "select username from EMailsID where outlookid ='e'",
        "select CurrentUser from CurrentUser",
        "select bAttachment From ToEvent where MakeDelete=0 and OutlookEmailID='k'",
        "select * from notetb where outlookattachid='k' and outlookContactid='c'",
        "select * from EMailHistory where entryid= 'k'",
        "select OutlookAttachID from noteTb where OutlookAttachID='k'",
        "select OutlookEmailID From ToEvent where OutlookEmailID='k'",
        "select bAttachment From ToEvent where OutlookEmailID='k' and  bAttachment=True",
        "select bAttachment From NoteTb where OutlookAttachID='k' and bAttachment=True",
        "select entryid from EMailHistory where entryid='k'",
        "select EntryID,ATT_ALIAS from Attachments where EntryID='k'",
        "select * from ToEvent where type=-1",
        "select * from Attachments where ALIAS_INDEX=3 and ATT_NAME='a.txt' and EntryID ='k'",
        "select OutlookEmailID from ToEvent where MakeDelete=False and OutlookEmailID='k'",
        "Select OutlookContactID from noteTb where OutlookAttachID= 'k' and makedelete=False and "
        "(creator= 'u' or privateAccess=0)",
        "select * from noteTb where outlookattachId='k' and outlookcontactId='c'",
        "select * from ToEvent where OutlookEmailID='k' and OutlookApptID='a'",
        "select * from NoteHistory where outlooknoteid='k'",
        "select * from noteTb where OutlookAttachID ='k' and OutlookContactID='c'",
        "select * from CalendarHistory where taskid='k'",
        "select OutlookContactID,PrivateAccess,ContactId from noteTb where OutlookAttachID= 'k' "
        "and MakeDelete = false and (creator='u' Or privateAccess =0)",
        "select battachment,OutlookAttachID from noteTb where outlookAttachID='k' and "
        "bAttachment=true",
        "Select OutlookApptID,bAttachment,contactId from ToEvent where OutlookEmailID= 'k' and "
        "makedelete =false",
        "Select OutlookApptID from toEvent where outlookEmailID= 'k'",
        "Select OutlookApptID,Creator,contactId from ToEvent where OutlookEmailID= 'k' and "
        "makedelete =false",
        "select GroupID,Creator,GroupName,Modules from GroupTb where GroupID in (select GroupID "
        "from Group_User where loginname='u' And Access > 2)",
        "select GroupID from Group_Task where OutlookAppID='e' and IsDel=0",
        "select GroupID from Group_Task where OutlookAppID='e' and IsDirty=1",
        "select GroupID from Group_Todo where OutlookDID='e' and isDel=0",
        "select GroupID from Group_Contact where OutlookCID='e' and isDel=0",
        "SELECT Creator,GroupName FROM GroupTb where GroupID='g'",
        "SELECT Creator,GroupName,GroupID FROM GroupTb where GroupID='g'",
        "SELECT areid,entryid,taskid,creator,sharetype FROM CalendarExt where entryid='e'",
        "SELECT todoid,id,creator,PrivateAccess FROM TodoExt where todoid='s'",
        "SELECT ContactId,corder,creator,PrivateAccess FROM ContactExt where ContactId='s'",
        "select IsDel from Group_Task where GroupID='g' and OutlookAppID ='e'",
        "select IsDel from Group_Todo where GroupID='g' and OutlookDID ='e'",
        "select IsDel,IsDirty from Group_Contact where GroupID='g' and OutlookCID ='e'",
        "select max(access) from group_user where groupID in ( select GroupID from Group_task "
        "where tid = '1' and isDel=0) And loginname='u'",
    };
    for (const char* sql : reads) {
        Recordset rs;
        EXPECT_NO_THROW(rs.Open(sql, c, adOpenKeyset, adLockPessimistic)) << sql;
    }
    const char* changes[] = {
        "delete from noteTb where outlookattachid ='k'",
        "delete from EMailHistory where entryid='k'",
        "update EMailHistory set att_count='2'where entryid='k'",
        "update noteTb set OutlookAttachID='n' where OutlookAttachID='k'",
        "update ToEvent set OutlookEmailID='n' where OutlookEmailID='k'",
        "update EMailHistory set from_addr ='f' , entryid='n' where  entryid='k'",
        "delete from Attachments where entryid='k'",
        "Update notetb set MakeDelete=true where OutlookAttachId='k' and (creator= 'u' or "
        "privateAccess=0)",
        "Update ToEvent set Regarding='r' where OutlookEmailID='k'",
        "delete from NoteHistory where outlooknoteid='k'",
        "Update noteTb set MakeDelete=true where OutlookAttachID='k' and (creator= 'u' or "
        "privateAccess=0)",
        "delete from CalendarHistory where taskid='k'",
        "delete from EMailHistory where entryid = 'k'",
        "update EMailHistory set att_count='2' where entryid = 'k'",
        "update toEvent set makedelete=True where outlookEmailID='k'",
        "update noteHistory set RefCount='2' where outlooknoteid = 'k'",
        "delete from noteHistory where outlooknoteid = 'k'",
        "update NoteTb set PrivateAccess=0 where OutlookAttachID='k'",
        "update Group_Task set IsDel=1,IsDirty=0 where OutlookAppID='e'",
        "update Group_Todo set IsDel=1,IsDirty=0 where OutlookDID='e'",
        "update Group_Contact set IsDel=1,IsDirty=0 where OutlookCID='e'",
        "insert into Group_Task(GroupID,tid,OutlookAppID,IsDirty) values ('g','s','e','1')",
        "insert into Group_Todo(GroupID,DID,OutlookDID,IsDirty) values ('g','s','e','1')",
        "insert into Group_Contact(GroupID,CID,OutlookCID,IsDirty) values ('g','s','e','1')",
        "update Group_Task set IsDel=0,IsDirty=1,tid='s' where OutlookAppID='e' and GroupID='g'",
        "update Group_Todo set IsDel=0,IsDirty=1,DID='s' where OutlookDID='e' and GroupID='g'",
        "update Group_Contact set IsDel=0,IsDirty=1,CID='s' where OutlookCID='e' and GroupID='g'",
    };
    for (const char* sql : changes)
        EXPECT_NO_THROW(c.Execute(sql)) << sql;
}

TEST_F(SchemaTest, ValueConventionsHold) {
    // Share inserts do not name IsDel, and the row counts as shared.
    c.Execute(
        "insert into Group_Task(GroupID,tid,OutlookAppID,IsDirty) values ('g1','s_1','E','1')");
    EXPECT_EQ(count("select GroupID from Group_Task where OutlookAppID='E' and IsDel=0"), 1);
    EXPECT_EQ(kindOf("select IsDirty from Group_Task") + scalar("select IsDirty from Group_Task"),
              "integer1");

    // Yes/no set with 1 or True reads back true; compared with 0 or False it matches false.
    c.Execute("insert into noteTb (OutlookAttachID, OutlookContactID) values ('M', 'C')");
    c.Execute("update NoteTb set PrivateAccess=1 where OutlookAttachID='M'");
    {
        Recordset rs;
        rs.Open("select PrivateAccess, MakeDelete, bAttachment from notetb", c);
        EXPECT_TRUE(rs.Fields("privateaccess").Value().toBool());
        EXPECT_FALSE(rs.Fields("MakeDelete").Value().toBool());
    }
    EXPECT_EQ(count("select * from noteTb where MakeDelete=False and bAttachment=0"), 1);
    c.Execute("Update notetb set MakeDelete=true where OutlookAttachId='M'");
    EXPECT_EQ(count("select * from NOTETB where makedelete=FALSE"), 0);
    EXPECT_EQ(count("select * from noteTb where MakeDelete=1"), 1);

    // Quoted numbers become numbers in numeric columns.
    c.Execute("insert into NoteHistory (outlooknoteid) values ('N')");
    c.Execute("update noteHistory set RefCount='3' where outlooknoteid = 'N'");
    EXPECT_EQ(kindOf("select RefCount from NoteHistory") + ":" +
                  scalar("select RefCount from NoteHistory"),
              "integer:3");
    EXPECT_EQ(scalar("select PrivateAccess from NoteHistory"), "1");

    // The level query yields a null, not an empty set, when the user is in no group.
    Recordset level;
    level.Open("select max(access) from group_user where groupID in ( select GroupID from "
               "Group_task where tid = 's_1' and isDel=0) And loginname='nobody'",
               c, adOpenKeyset, adLockOptimistic);
    ASSERT_FALSE(level.IsEOF());
    EXPECT_TRUE(level.Fields(0).Value().isNull());

    // Entry ids compare exactly: an id differing only in case is another item.
    EXPECT_EQ(count("select * from noteTb where OutlookAttachID='m'"), 0);
    c.Execute("insert into ContactExt (ContactId, PrivateAccess) values ('s_2', '0')");
    EXPECT_EQ(kindOf("select PrivateAccess from contactext"), "integer");
}

// The round trip the file and ODBC stores run, on whichever engine the tests were given.
TEST(Schema, TheTestEngineRunsTheRoundTrip) {
    velmora::testing::TestStore store(":memory:");
    Connection c;
    c.Open(store.connectionString());
    testing::runStoreRoundTrip(c);
}

TEST(Schema, AddsMissingColumnsToAnOlderStoreAndKeepsItsRows) {
    testing::TempFolder temp;
    const std::string target = "Database=" + (temp.path() / "old.db").string();
    {
        Connection c;
        c.Open(target);
        c.Execute("create table noteTb (OutlookAttachID TEXT, OutlookContactID TEXT)");
        c.Execute("insert into noteTb values ('M', 'C')");
    }
    Connection c;
    c.Open(target);
    createSchema(c);
    Recordset rs;
    rs.Open("select * from noteTb", c);
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_EQ(rs.Fields("OutlookAttachID").Value().text(), "M");
    EXPECT_EQ(rs.Fields("MakeDelete").Value(), Value(0));
    EXPECT_EQ(rs.FieldCount(), 12);
    rs.Close();
    for (const std::string& table : schemaTableNames())
        EXPECT_NO_THROW(rs.Open("select * from " + table, c); rs.Close()) << table;
    EXPECT_EQ(schemaTableNames().size(), 20u);
}

} // namespace
} // namespace velmora::ado
