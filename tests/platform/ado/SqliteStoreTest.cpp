// The embedded SQLite link store: opening by connection string, the shared round trip, closed
// connections, bad statements and nested transactions, each failure with a clear message.
#include "StoreRoundTrip.h"
#include "TempFolder.h"

#include "platform/ado/Recordset.h"
#include "store/Schema.h"

#include "support/ErrorText.h"

#include <gtest/gtest.h>

#include <fstream>
#include <functional>

namespace velmora::ado {
namespace {

using velmora::testing::errorText;

using testing::TempFolder;

std::string scalar(Connection& c, const std::string& sql) {
    Recordset rs;
    rs.Open(sql, c);
    return rs.IsEOF() ? "<no row>" : rs.Fields(0).Value().text();
}

TEST(SqliteStore, RoundTripInMemoryAndInAFileThatKeepsItsRows) {
    {
        Connection memory;
        memory.Open(":memory:");
        testing::runStoreRoundTrip(memory);
    }
    TempFolder temp;
    const auto file = temp.path() / "link store.db";
    {
        Connection c;
        c.Open("Database=" + file.string());
        testing::runStoreRoundTrip(c);
        EXPECT_EQ(scalar(c, "pragma journal_mode"), "wal");
        c.Close();
        EXPECT_FALSE(c.IsOpen());
    }
    Connection again;
    again.Open(file.string()); // a bare path names the same file
    EXPECT_EQ(scalar(again, "select count(*) from noteTb"), "2");
    EXPECT_EQ(scalar(again, "select CurrentUser from CurrentUser"), "outer");
}

TEST(SqliteStore, OpeningReportsWhatIsWrong) {
    TempFolder temp;
    Connection c;
    EXPECT_NE(errorText<StoreError>([&] { c.Open("  "); }).find("connection string is empty"),
              std::string::npos);
    EXPECT_NE(errorText<StoreError>([&] { c.Open("Database="); }).find("names no database file"),
              std::string::npos);
    const auto missing = temp.path() / "no such folder" / "store.db";
    const std::string m = errorText<StoreError>([&] { c.Open("Database=" + missing.string()); });
    EXPECT_NE(m.find(missing.string()), std::string::npos) << m;
    EXPECT_NE(m.find("unable to open"), std::string::npos) << m;

    const auto notADatabase = temp.path() / "notes.txt";
    std::ofstream(notADatabase) << "This is a plain text file, long enough to be read as a header "
                                   "and rejected by the engine.";
    EXPECT_NE(errorText<StoreError>([&] { c.Open(notADatabase.string()); }).find("not a database"),
              std::string::npos);
    EXPECT_FALSE(c.IsOpen());

    c.Open("Data Source=" + (temp.path() / "a.db").string() + ";Mode=ReadWrite");
    EXPECT_TRUE(std::filesystem::exists(temp.path() / "a.db"));
    EXPECT_NE(errorText<StoreError>([&] { c.Open(":memory:"); }).find("already open"),
              std::string::npos);
}

TEST(SqliteStore, ReadOnlyOpeningCreatesNothingAndChangesNothing) {
    TempFolder temp;
    const auto file = temp.path() / "store.db";
    Connection c;
    EXPECT_EQ(errorText<NoStoreError>([&] { c.Open("Database=" + file.string() + ";Mode=Read"); }),
              "no link store at " + file.string());
    EXPECT_FALSE(std::filesystem::exists(file));
    EXPECT_FALSE(c.IsOpen());
    EXPECT_NE(errorText<StoreError>([&] {
                  c.Open("Database=" + file.string() + ";Mode=Write");
              }).find("Mode 'Write' is not known"),
              std::string::npos);

    // A store another program keeps in rollback-journal mode is read as it is.
    c.Open("Database=" + file.string());
    createSchema(c);
    c.Execute("insert into CurrentUser values ('alice')");
    c.Execute("pragma journal_mode=delete");
    c.Close();
    c.Open("mode=READ; Database=" + file.string());
    EXPECT_EQ(scalar(c, "pragma journal_mode"), "delete");
    EXPECT_EQ(scalar(c, "select CurrentUser from CurrentUser"), "alice");
    const std::string refused =
        errorText<StoreError>([&] { c.Execute("delete from CurrentUser"); });
    EXPECT_NE(refused.find("opened read-only"), std::string::npos) << refused;
    EXPECT_EQ(scalar(c, "select count(*) from CurrentUser"), "1");
}

TEST(SqliteStore, ClosedConnectionAndBadStatementsFailClearly) {
    Connection c;
    EXPECT_NE(errorText<StoreError>([&] {
                  c.Execute("delete from noteTb");
              }).find("connection is closed"),
              std::string::npos);
    Recordset rs;
    EXPECT_NE(errorText<StoreError>([&] { rs.Open("select 1", c); }).find("connection is closed"),
              std::string::npos);
    EXPECT_FALSE(rs.IsOpen());
    EXPECT_NE(errorText<StoreError>([&] { c.BeginTrans(); }).find("connection is closed"),
              std::string::npos);
    c.Close(); // closing a closed connection is harmless

    c.Open(":memory:");
    createSchema(c);
    c.Execute("insert into GroupTb (GroupID, GroupName) values ('g1', 'Sales')");

    const std::string syntax = errorText<StoreError>([&] { c.Execute("selec * from GroupTb"); });
    EXPECT_NE(syntax.find("syntax error"), std::string::npos) << syntax;
    EXPECT_NE(syntax.find("selec * from GroupTb"), std::string::npos) << syntax;
    EXPECT_NE(errorText<StoreError>([&] {
                  rs.Open("select * from NoSuchTable", c);
              }).find("no such table"),
              std::string::npos);

    // An unescaped quote breaks the statement instead of changing it; the smuggled second
    // statement never runs. sqlText keeps the same value harmless.
    const std::string value = "x'; delete from GroupTb; --";
    EXPECT_THROW(c.Execute("update GroupTb set GroupName='" + value + "' where GroupID='g1'"),
                 StoreError);
    EXPECT_EQ(scalar(c, "select GroupName from GroupTb"), "Sales");
    EXPECT_EQ(c.Execute("update GroupTb set GroupName='" + sqlText(value) + "' where GroupID='g1'"),
              1);
    EXPECT_EQ(scalar(c, "select GroupName from GroupTb"), value);

    // A row set outlives a closed connection for reading, and refuses to write.
    rs.Open("select * from GroupTb", c, adOpenKeyset, adLockPessimistic);
    c.Close();
    EXPECT_EQ(rs.Fields("groupname").Value().text(), value);
    rs.Fields("GroupName") = "later";
    EXPECT_NE(errorText<StoreError>([&] { rs.Update(); }).find("connection is closed"),
              std::string::npos);
}

// Row sets reuse the prepared insert and update of a table: each use must carry its own values,
// survive a failed use and a table made again.
TEST(SqliteStore, RowChangesReusedAcrossRowsFailuresAndTableChanges) {
    TempFolder temp;
    const auto file = temp.path() / "store.db";
    Connection c;
    c.Open("Database=" + file.string());
    createSchema(c);
    const auto add = [&c](const std::string& id, const Value& makeDelete) {
        Recordset rs;
        rs.Open("select * from noteTb where 1=0", c, adOpenKeyset, adLockOptimistic);
        rs.AddNew();
        rs.Fields("OutlookAttachID") = id;
        rs.Fields("MakeDelete") = makeDelete;
        rs.Update();
    };
    add("first", 1);
    add("second", 0);
    // NOT NULL refuses the row; the same insert then serves the next row.
    EXPECT_NE(errorText<StoreError>([&] { add("refused", Value()); }).find("NOT NULL"),
              std::string::npos);
    add("third", 1);
    EXPECT_EQ(scalar(c, "select group_concat(OutlookAttachID || MakeDelete, ',') from "
                        "(select * from noteTb order by rowid)"),
              "first1,second0,third1");
    {
        Recordset rs;
        rs.Open("select * from noteTb order by rowid", c, adOpenKeyset, adLockPessimistic);
        for (const char* regarding : {"a", "b"}) {
            rs.Fields("Regarding") = regarding;
            rs.MoveNext();
        }
    }
    EXPECT_EQ(scalar(c, "select group_concat(coalesce(Regarding, '-'), ',') from "
                        "(select * from noteTb order by rowid)"),
              "a,b,-");

    // A table made again with other columns: the insert is prepared for the table as it is.
    c.Execute("drop table noteTb");
    c.Execute("create table noteTb (OutlookAttachID text, MakeDelete integer not null, "
              "Added text default 'new')");
    add("again", 1);
    EXPECT_EQ(scalar(c, "select OutlookAttachID || MakeDelete || Added from noteTb"), "again1new");
    {
        Recordset rs;
        rs.Open("select * from noteTb", c, adOpenKeyset, adLockOptimistic);
        rs.AddNew();
        rs.Fields("OutlookAttachID") = "gone";
        rs.Fields("MakeDelete") = 1;
        c.Execute("drop table noteTb");
        const std::string gone = errorText<StoreError>([&] { rs.Update(); });
        EXPECT_NE(gone.find("no such table"), std::string::npos) << gone;
    }
}

TEST(SqliteStore, NestedTransactionsCommitAndRollBackByLevel) {
    TempFolder temp;
    const std::string target = "Database=" + (temp.path() / "t.db").string();
    Connection c;
    c.Open(target);
    createSchema(c);
    auto users = [&] {
        return scalar(c, "select group_concat(CurrentUser, ',') from CurrentUser");
    };

    c.BeginTrans();
    c.Execute("insert into CurrentUser values ('a')");
    c.BeginTrans();
    c.Execute("insert into CurrentUser values ('b')");
    c.BeginTrans();
    c.Execute("insert into CurrentUser values ('c')");
    c.CommitTrans();   // level 3 folds into level 2
    c.RollbackTrans(); // level 2 takes b and c with it
    EXPECT_EQ(users(), "a");
    c.RollbackTrans();
    EXPECT_EQ(users(), ""); // group_concat over no rows is null

    EXPECT_NE(errorText<StoreError>([&] { c.CommitTrans(); }).find("No transaction"),
              std::string::npos);
    EXPECT_NE(errorText<StoreError>([&] { c.RollbackTrans(); }).find("No transaction"),
              std::string::npos);

    EXPECT_THROW(inTransaction(c,
                               [&] {
                                   c.Execute("insert into CurrentUser values ('lost')");
                                   throw StoreError("step failed");
                               }),
                 StoreError);
    EXPECT_EQ(c.TransactionDepth(), 0);
    EXPECT_EQ(
        inTransaction(c, [&] { return c.Execute("insert into CurrentUser values ('kept')"); }), 1);

    // Closing with work pending is refused and the work stays; a destroyed connection rolls back.
    c.BeginTrans();
    c.Execute("insert into CurrentUser values ('pending')");
    EXPECT_NE(errorText<StoreError>([&] { c.Close(); }).find("transaction is pending"),
              std::string::npos);
    EXPECT_TRUE(c.IsOpen());
    c.CommitTrans();
    {
        Connection other;
        other.Open(target);
        other.BeginTrans();
        other.Execute("insert into CurrentUser values ('abandoned')");
    }
    EXPECT_EQ(users(), "kept,pending");
}

} // namespace
} // namespace velmora::ado
