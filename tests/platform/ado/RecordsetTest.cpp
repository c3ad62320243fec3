// Row set behaviour on the test's engine: walking and counting rows, field lookup by name,
// refusing changes where rows have no identity, and keeping unsaved edits safe.
#include "platform/ado/Recordset.h"
#include "platform/text/AsciiText.h"
#include "store/Schema.h"

#include "support/ErrorText.h"
#include "support/TestStore.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace velmora::ado {
namespace {

using velmora::testing::errorText;

class RecordsetTest : public ::testing::Test {
  protected:
    void SetUp() override {
        c.Open(store.connectionString());
        createSchema(c);
        for (const char* g : {"g1", "g2", "g3"})
            c.Execute(std::string("insert into Group_Task (GroupID, tid, OutlookAppID, IsDirty) "
                                  "values ('") +
                      g + "','7','APPT','1')");
    }
    long count(const std::string& sql) {
        Recordset rs;
        rs.Open(sql, c);
        return rs.RecordCount();
    }
    velmora::testing::TestStore store{":memory:"};
    Connection c;
};

TEST_F(RecordsetTest, WalksRowsAndFindsFieldsByAnyCase) {
    Recordset rs;
    rs.Open("select GroupID, IsDel from group_task where outlookappid='APPT' order by GroupID", c);
    EXPECT_EQ(rs.RecordCount(), 3);
    EXPECT_EQ(rs.FieldCount(), 2);
    // PostgreSQL names the column as it folded it, without regard to the statement's spelling.
    EXPECT_TRUE(text::iequals(rs.Fields("groupid").Name(), "GroupID")) << rs.Fields(0).Name();
    std::string seen;
    for (; !rs.IsEOF(); rs.MoveNext())
        seen += rs.Fields("GROUPID").Value().text() + rs.Fields(1).Value().text();
    EXPECT_EQ(seen, "g10g20g30");
    EXPECT_NE(errorText<StoreError>([&] { rs.MoveNext(); }).find("EOF is True"), std::string::npos);
    EXPECT_NE(
        errorText<StoreError>([&] { (void)rs.Fields("GroupID").Value(); }).find("current record"),
        std::string::npos);
    rs.MoveFirst();
    EXPECT_EQ(rs.Fields(0).Value().text(), "g1");

    const std::string missing = errorText<StoreError>([&] { rs.Fields("OutlookDID"); });
    EXPECT_NE(missing.find("Item cannot be found in the collection"), std::string::npos);
    EXPECT_NE(missing.find("'OutlookDID'"), std::string::npos);
    EXPECT_NE(errorText<StoreError>([&] { rs.Fields(2); }).find("no field number 2"),
              std::string::npos);

    rs.Close();
    EXPECT_NE(errorText<StoreError>([&] { (void)rs.IsEOF(); }).find("closed"), std::string::npos);
    rs.Open("select * from Group_Task where GroupID='none'", c);
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_EQ(rs.RecordCount(), 0);
    EXPECT_NE(errorText<StoreError>([&] { rs.Open("select 1", c); }).find("already open"),
              std::string::npos);
}

TEST_F(RecordsetTest, AnyStatementOpensAndTellsWhetherItOnlyReads) {
    // Rows come from every form of statement that yields them, whatever its first word.
    std::vector<std::string> reads = {"-- a note\nselect 1", "/* a note */ select 1",
                                      "with t(n) as (select 1) select n from t", "values (1)",
                                      "select * from (select 1) t"};
    if (!store.onServer()) reads.emplace_back("pragma user_version");
    for (const std::string& sql : reads) {
        EXPECT_TRUE(c.ReadsOnly(sql)) << sql;
        Recordset rs;
        rs.Open(sql, c);
        ASSERT_EQ(rs.FieldCount(), 1) << sql;
        EXPECT_EQ(rs.Fields(0).Value().toInt(), sql[0] == 'p' ? 0 : 1) << sql;
    }
    // Judging a statement runs nothing.
    EXPECT_FALSE(c.ReadsOnly("delete from Group_Task"));
    if (!store.onServer()) {
        EXPECT_FALSE(c.ReadsOnly("pragma user_version=3"));
    }
    EXPECT_EQ(count("select * from Group_Task"), 3);

    Recordset rs;
    rs.Open("update Group_Task set IsDirty=0 where GroupID<>'g1'", c);
    EXPECT_EQ(rs.FieldCount(), 0);
    EXPECT_TRUE(rs.IsEOF());
    EXPECT_EQ(rs.RecordsAffected(), 2);
    EXPECT_EQ(count("select * from Group_Task where IsDirty=0"), 2);
    rs.Close();
    rs.Open("create table later (x integer)", c); // no rows move, whatever the last change counted
    EXPECT_EQ(rs.RecordsAffected(), 0);
}

TEST_F(RecordsetTest, NullEmptyTextAndBytesReadBackApart) {
    if (store.onServer()) GTEST_SKIP() << "one column holding text and bytes alike is SQLite's";
    c.Execute("create table kinds (k integer, v)");
    c.Execute("insert into kinds values (1, NULL), (2, ''), (3, x''), (4, 'NULL')");
    {
        Recordset rs;
        rs.Open("select * from kinds", c, adOpenKeyset, adLockPessimistic);
        rs.AddNew();
        rs.Fields("k") = 5;
        rs.Fields("v") = Blob{std::string("\x0A\x00\x1B", 3)};
        rs.Update();
    }
    Recordset rs;
    rs.Open("select v from kinds order by k", c);
    std::vector<Value> seen;
    for (; !rs.IsEOF(); rs.MoveNext())
        seen.push_back(rs.Fields(0).Value());
    const std::vector<Value> expected = {Value(), Value(""), Value(Blob{}), Value("NULL"),
                                         Value(Blob{std::string("\x0A\x00\x1B", 3)})};
    EXPECT_EQ(seen, expected);
}

TEST_F(RecordsetTest, LongUpdatableSetsReadTheirLaterRowsWhenUsed) {
    for (int i = 10; i < 50; ++i)
        c.Execute("insert into Group_Task (GroupID, tid, OutlookAppID, IsDirty) values ('n" +
                  std::to_string(i) + "','" + std::to_string(i) + "','LONG',0)");
    Recordset rs;
    rs.Open("select * from Group_Task where OutlookAppID='LONG' order by tid", c, adOpenKeyset,
            adLockPessimistic);
    EXPECT_EQ(rs.RecordCount(), 40);
    // Changed behind the set's back after it was opened: a later row shows the store's value.
    c.Execute("update Group_Task set IsDirty=1 where GroupID='n45'");
    std::string ids;
    int dirty = 0;
    for (; !rs.IsEOF(); rs.MoveNext()) {
        ids += rs.Fields("tid").Value().text();
        dirty += rs.Fields("IsDirty").Value().toBool() ? 1 : 0;
        // Changed without being read first: only the assigned field changes in the store.
        if (rs.Fields("GroupID").Value().text() == "n40") rs.Fields("tid") = 99;
    }
    EXPECT_EQ(ids.size(), 80u);
    EXPECT_EQ(dirty, 1);
    EXPECT_EQ(count("select * from Group_Task where tid='99' and GroupID='n40' and IsDirty=0"), 1);

    Recordset later;
    later.Open("select * from Group_Task where OutlookAppID='LONG' order by GroupID", c,
               adOpenKeyset, adLockPessimistic);
    for (int i = 0; i < 30; ++i)
        later.MoveNext();
    later.Fields("IsDel") = true; // row n40, never read
    later.Update();
    EXPECT_EQ(later.Fields("GroupID").Value().text(), "n40");
    EXPECT_EQ(later.Fields("tid").Value().text(), "99");
    later.Delete();
    EXPECT_EQ(count("select * from Group_Task where OutlookAppID='LONG'"), 39);
}

TEST_F(RecordsetTest, ReadsStreamCountWithoutMovingAndStartOverOnMoveFirst) {
    Recordset rs;
    rs.Open("select GroupID from Group_Task order by GroupID", c);
    EXPECT_EQ(rs.Fields(0).Value().text(), "g1");
    // Changes on the same connection while a read is open neither fail nor disturb the walk.
    EXPECT_EQ(c.Execute("update Group_Task set IsDirty=0 where GroupID='g3'"), 1);
    rs.MoveNext();
    EXPECT_EQ(rs.RecordCount(), 3);
    EXPECT_EQ(rs.Fields(0).Value().text(), "g2");
    rs.MoveNext();
    EXPECT_EQ(rs.Fields(0).Value().text(), "g3");
    c.Execute("insert into Group_Task (GroupID) values ('g0')");
    rs.MoveFirst(); // runs the statement again, so the new row is seen
    EXPECT_EQ(rs.Fields(0).Value().text(), "g0");
    EXPECT_EQ(rs.RecordCount(), 4);
    rs.Close();

    // Rows not yet read cannot come from a store that was closed, or closed and opened again.
    rs.Open("select GroupID from Group_Task order by GroupID", c);
    c.Close();
    EXPECT_EQ(rs.Fields(0).Value().text(), "g0");
    EXPECT_NE(errorText<StoreError>([&] { rs.MoveNext(); }).find("connection is closed"),
              std::string::npos);
    c.Open(store.connectionString());
    EXPECT_NE(errorText<StoreError>([&] { rs.MoveNext(); }).find("connection is closed"),
              std::string::npos);
}

TEST_F(RecordsetTest, RowsWithoutIdentityRefuseChangesButStayReadable) {
    Recordset rs;
    rs.Open("select * from Group_Task", c); // default cursor and lock: read-only
    EXPECT_FALSE(rs.IsUpdatable());
    const std::string readOnly = errorText<StoreError>([&] { rs.Fields("IsDel") = 1; });
    EXPECT_NE(text::lower(readOnly).find("assigning field 'isdel'"), std::string::npos) << readOnly;
    EXPECT_NE(readOnly.find("read-only"), std::string::npos) << readOnly;
    EXPECT_THROW(rs.AddNew(), StoreError);
    rs.Close();

    // The event access query is opened keyset/optimistic: it reads, and names why it can't write.
    c.Execute("insert into Group_User (GroupID, loginname, Access) values ('g1','bob',2)");
    const std::string level =
        "select max(access) from group_user where groupID in ( select "
        "GroupID from Group_task where tid = '7' and isDel=0) And loginname='";
    rs.Open(level + "bob'", c, adOpenKeyset, adLockOptimistic);
    EXPECT_EQ(rs.Fields(0).Value(), Value(2));
    const std::string aggregate = errorText<StoreError>([&] { rs.AddNew(); });
    EXPECT_NE(aggregate.find("expressions"), std::string::npos) << aggregate;
    rs.Close();
    rs.Open(level + "carol'", c, adOpenKeyset, adLockOptimistic);
    ASSERT_FALSE(rs.IsEOF());
    EXPECT_TRUE(rs.Fields(0).Value().isNull());
    rs.Close();

    EXPECT_NE(errorText<StoreError>([&] {
                  c.backend().query("select count(*) from Group_Task", true);
              }).find("cannot be opened for changes"),
              std::string::npos);
}

TEST_F(RecordsetTest, UnsavedEditsAreSavedOnMoveKeptOnFailureAndDroppedOnCancel) {
    {
        Recordset rs;
        rs.Open("select * from Group_Task order by GroupID", c, adOpenKeyset, adLockPessimistic);
        rs.Fields("IsDel") = 1;
        EXPECT_EQ(rs.Fields("IsDel").Value(), Value(1)); // the edit shows before Update
        rs.MoveNext();                                   // and is saved by moving on
        rs.Fields("IsDel") = 1;
        rs.CancelUpdate();
        EXPECT_EQ(rs.Fields("IsDel").Value(), Value(0));
        rs.MoveNext();
        rs.Fields("IsDirty") = 0; // left pending when the row set goes: not saved
    }
    EXPECT_EQ(count("select * from Group_Task where IsDel=1"), 1);
    EXPECT_EQ(count("select * from Group_Task where IsDirty=0"), 0);

    // A refused insert keeps its values pending; corrected, it is saved exactly once.
    Recordset rs;
    rs.Open("select * from noteTb where type=-1", c, adOpenKeyset, adLockPessimistic);
    rs.AddNew();
    EXPECT_FALSE(rs.IsEOF());
    EXPECT_TRUE(rs.Fields("Creator").Value().isNull());
    rs.Fields("OutlookAttachID") = "M1";
    rs.Fields("MakeDelete") = Value();
    const std::string refused = errorText<StoreError>([&] { rs.Update(); });
    EXPECT_NE(text::lower(refused).find("null"), std::string::npos) << refused;
    EXPECT_NE(text::lower(refused).find("constraint"), std::string::npos) << refused;
    EXPECT_EQ(rs.Fields("OutlookAttachID").Value().text(), "M1");
    rs.Fields("MakeDelete") = false;
    rs.Update();
    rs.Update(); // nothing pending: no second row
    EXPECT_EQ(count("select * from noteTb where OutlookAttachID='M1'"), 1);

    // A row removed behind the row set's back cannot be updated, and says so.
    c.Execute("delete from noteTb");
    rs.Fields("Creator") = "alice";
    EXPECT_NE(errorText<StoreError>([&] { rs.Update(); }).find("Row cannot be located"),
              std::string::npos);
    EXPECT_EQ(count("select * from noteTb"), 0);
}

} // namespace
} // namespace velmora::ado
