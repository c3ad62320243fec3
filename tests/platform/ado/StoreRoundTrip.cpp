// One round trip through a link store connection, run against each backend, so the SQLite and
// ODBC paths are held to exactly the same behaviour.
#include "StoreRoundTrip.h"

#include "platform/ado/Recordset.h"
#include "store/Schema.h"

#include <gtest/gtest.h>

namespace velmora::ado::testing {

namespace {

long countRows(Connection& c, const std::string& sql) {
    Recordset rs;
    rs.Open(sql, c);
    long n = 0;
    for (; !rs.IsEOF(); rs.MoveNext())
        ++n;
    return n;
}

std::string firstText(Connection& c, const std::string& sql) {
    Recordset rs;
    rs.Open(sql, c);
    return rs.IsEOF() ? "<no row>" : rs.Fields(0).Value().text();
}

} // namespace

void runStoreRoundTrip(Connection& c) {
    createSchema(c);
    createSchema(c); // a second run on the same store changes nothing and does not fail

    const std::string quoted = "O'Brien's note '); delete from noteTb; --";
    EXPECT_EQ(c.Execute("insert into noteTb (OutlookAttachID, OutlookContactID, Regarding, type) "
                        "values ('MAIL1','C1','" +
                        sqlText(quoted) + "', 2)"),
              1);
    {
        Recordset rs;
        rs.Open("select * from NoteTb where outlookattachid='MAIL1'", c);
        ASSERT_FALSE(rs.IsEOF());
        EXPECT_EQ(rs.Fields("regarding").Value().text(), quoted);
        EXPECT_EQ(rs.Fields("TYPE").Value(), Value(2));
        EXPECT_FALSE(rs.Fields("MakeDelete").Value().toBool());
        EXPECT_EQ(rs.Fields("MakeDelete").Value(), Value(0));
        EXPECT_THROW(rs.Fields("Regarding") = "changed", StoreError);
    }

    // A new row through an updatable row set, positioned on it after Update.
    const DateTime created = std::chrono::sys_days{std::chrono::year{2003} / 4 / 5} +
                             std::chrono::hours{13} + std::chrono::minutes{7};
    const std::string chinese = "会议记录 'quoted'";
    {
        Recordset rs;
        rs.Open("select * from noteTb where OutlookAttachID='MAIL1' and OutlookContactID='C2'", c,
                adOpenKeyset, adLockPessimistic);
        EXPECT_TRUE(rs.IsEOF());
        rs.AddNew();
        rs.Fields("OutlookAttachID") = "MAIL1";
        rs.Fields("outlookcontactid") = "C2";
        rs.Fields("Regarding") = chinese;
        rs.Fields("DateCreated") = created;
        rs.Fields("PrivateAccess") = true;
        rs.Fields("type") = 2;
        rs.Update();
        ASSERT_FALSE(rs.IsEOF());
        EXPECT_EQ(rs.RecordCount(), 1);
        EXPECT_EQ(rs.Fields("OutlookContactID").Value().text(), "C2");
        EXPECT_EQ(rs.Fields("MakeDelete").Value(), Value(0)); // the default, read back
        EXPECT_EQ(rs.Fields("PrivateAccess").Value(), Value(1));
        EXPECT_EQ(rs.Fields("DateCreated").Value().toDate(), created);
    }
    EXPECT_EQ(firstText(c, "select Regarding from noteTb where OutlookContactID='C2'"), chinese);

    // An existing row changed field by field.
    {
        Recordset rs;
        rs.Open("select * from noteTb where OutlookAttachID='MAIL1' and OutlookContactID='C1'", c,
                adOpenKeyset, adLockPessimistic);
        ASSERT_FALSE(rs.IsEOF());
        rs.Fields("MakeDelete") = true;
        rs.Fields("Regarding") = "relinked";
        rs.Update();
        EXPECT_EQ(rs.Fields("Regarding").Value().text(), "relinked");
    }
    EXPECT_EQ(countRows(c, "select * from noteTb where MakeDelete=True"), 1);
    EXPECT_EQ(countRows(c, "select * from noteTb where makedelete=false"), 1);
    EXPECT_EQ(c.Execute("update NoteTb set PrivateAccess=1 where OutlookAttachID='MAIL1'"), 2);
    EXPECT_EQ(c.Execute("update NoteTb set PrivateAccess=1 where OutlookAttachID='none'"), 0);

    // A column-list select changed row by row, as a mail's attachments are re-keyed.
    c.Execute("insert into Attachments (EntryID, ATT_NAME, ATT_ALIAS, ALIAS_INDEX) values "
              "('OLD', 'a.txt', 'OLD\\1_a.txt', 1)");
    c.Execute("insert into Attachments (EntryID, ATT_NAME, ATT_ALIAS, ALIAS_INDEX) values "
              "('OLD', 'b.txt', 'OLD\\2_b.txt', 2)");
    {
        Recordset rs;
        rs.Open("select EntryID,ATT_ALIAS from Attachments where EntryID='OLD'", c, adOpenKeyset,
                adLockPessimistic);
        for (; !rs.IsEOF(); rs.MoveNext()) {
            const std::string alias = rs.Fields("ATT_ALIAS").Value().text();
            rs.Fields("EntryID") = "NEW";
            rs.Fields("ATT_ALIAS") = "NEW" + alias.substr(3);
            rs.Update();
        }
    }
    EXPECT_EQ(countRows(c, "select * from Attachments where EntryID='NEW'"), 2);
    EXPECT_EQ(firstText(c, "select ATT_ALIAS from Attachments where ALIAS_INDEX=2"),
              "NEW\\2_b.txt");

    // Rows deleted while walking an updatable row set; the walk still visits every row.
    for (const char* appt : {"A1", "A2", "A3"})
        c.Execute(
            std::string("insert into ToEvent (OutlookEmailID, OutlookApptID) values ('M', '") +
            appt + "')");
    {
        Recordset rs;
        rs.Open("Select OutlookApptID from toEvent where outlookEmailID= 'M'", c, adOpenKeyset,
                adLockPessimistic);
        int visited = 0;
        for (; !rs.IsEOF(); rs.MoveNext()) {
            ++visited;
            rs.Delete();
        }
        EXPECT_EQ(visited, 3);
        EXPECT_EQ(rs.RecordCount(), 0);
    }
    EXPECT_EQ(countRows(c, "select * from ToEvent"), 0);

    // Long text arrives whole (the ODBC driver hands it over in pieces).
    std::string body(10000, 'x');
    body[4095] = '\'';
    body.back() = 'z';
    {
        Recordset rs;
        rs.Open("select * from EMailHistory where entryid= 'LONG'", c, adOpenKeyset,
                adLockPessimistic);
        rs.AddNew();
        rs.Fields("entryid") = "LONG";
        rs.Fields("body_html") = body;
        rs.Fields("size") = 10000L;
        rs.Update();
    }
    EXPECT_EQ(firstText(c, "select body_html from EMailHistory where entryid='LONG'"), body);
    c.Execute("update EMailHistory set att_count='3'where entryid='LONG'");
    {
        Recordset rs;
        rs.Open("select att_count, isDeleted from EMailHistory where entryid='LONG'", c);
        EXPECT_EQ(rs.Fields("att_count").Value(), Value(3));
        EXPECT_EQ(rs.Fields("isDeleted").Value(), Value(0));
    }

    // Nested levels: the inner rollback drops only its own row.
    c.BeginTrans();
    c.Execute("insert into CurrentUser (CurrentUser) values ('outer')");
    c.BeginTrans();
    c.Execute("insert into CurrentUser (CurrentUser) values ('inner')");
    EXPECT_EQ(c.TransactionDepth(), 2);
    c.RollbackTrans();
    c.CommitTrans();
    EXPECT_EQ(c.TransactionDepth(), 0);
    EXPECT_EQ(firstText(c, "select count(*) from CurrentUser"), "1");
    EXPECT_EQ(firstText(c, "select max(CurrentUser) from CurrentUser"), "outer");

    // A failing statement reports the driver's message and leaves the data alone.
    try {
        c.Execute("update noteTb set NoSuchColumn=1");
        ADD_FAILURE() << "a statement naming a missing column ran";
    } catch (const StoreError& e) {
        EXPECT_NE(std::string(e.what()).find("NoSuchColumn"), std::string::npos) << e.what();
    }
    EXPECT_EQ(countRows(c, "select * from noteTb"), 2);
}

} // namespace velmora::ado::testing
