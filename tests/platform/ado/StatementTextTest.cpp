// Which selects can be changed by row identity, and the refusal of a second statement hidden
// behind a ";" (the way an unquoted value would try to smuggle one in).
#include "platform/ado/StatementText.h"
#include "platform/ado/Connection.h"
#include "platform/ado/PostgresDialect.h"
#include "platform/ado/SqliteDialect.h"

#include <gtest/gtest.h>

namespace velmora::ado {
namespace {

TEST(StatementText, PlainSingleTableSelectsAreUpdatable) {
    SelectShape s = analyzeSelect("select * from noteTb where outlookattachid='a;b' and x=1");
    ASSERT_TRUE(s.updatable) << s.reason;
    EXPECT_EQ(s.table, "noteTb");
    EXPECT_EQ(s.selectList, "*");
    EXPECT_EQ(withIdentity(s, "ctid"),
              "select ctid, * from noteTb where outlookattachid='a;b' and x=1");
    EXPECT_EQ(rowReread(s, "\"notetb\"", "rowid=7"), "select * from \"notetb\" where rowid=7");

    s = analyzeSelect("SELECT areid,entryid,taskid FROM CalendarExt where entryid='e'");
    ASSERT_TRUE(s.updatable) << s.reason;
    EXPECT_EQ(s.table, "CalendarExt");
    EXPECT_EQ(s.selectList, "areid,entryid,taskid");

    s = analyzeSelect("select [EntryID] from \"Attach\"\"ments\" where ID in (select x from y)");
    ASSERT_TRUE(s.updatable) << s.reason;
    EXPECT_EQ(s.table, "Attach\"ments");

    EXPECT_TRUE(analyzeSelect("select * from ToEvent where type=-1 order by 1").updatable);
}

// PostgreSQL's rewrite of the yes/no literals touches bare words only: quoted texts, quoted names,
// comments and longer words stay as they were.
TEST(StatementText, YesNoLiteralsBecomeNumbersOnlyAsBareWords) {
    const PostgresDialect postgres;
    EXPECT_EQ(postgres.translate("update NoteTb set MakeDelete=True where Regarding='True' and "
                                 "\"false\"=FALSE and TrueName=1 -- true"),
              "update NoteTb set MakeDelete=1 where Regarding='True' and \"false\"=0 and "
              "TrueName=1 -- true");
    EXPECT_EQ(postgres.translate("select 'It''s true' from x"), "select 'It''s true' from x");
    EXPECT_EQ(SqliteDialect().translate("update t set a=True"), "update t set a=True");
    EXPECT_EQ(postgres.name("NoteTb"), "\"notetb\"");
    EXPECT_EQ(postgres.identityCondition(Value(7)), "velmora_row=7");
    EXPECT_EQ(dialectForEngine("PostgreSQL 15.4")->engine(), "PostgreSQL");
    EXPECT_TRUE(dialectForEngine("Oracle")->rowIdentity().empty());
}

TEST(StatementText, OtherStatementsAreNotUpdatable) {
    for (const char* sql : {
             "select max(access) from group_user where groupID in (select GroupID from "
             "Group_task where tid = '1' and isDel=0) And loginname='u'",
             "select count(*) from noteTb",
             "select distinct GroupID from Group_Task",
             "select * from noteTb, ToEvent",
             "select * from noteTb join ToEvent on 1",
             "select * from noteTb n where n.type=1",
             "select GroupID from Group_Task group by GroupID",
             "select a from t union select a from u",
             "update noteTb set type=1",
             "select 1",
             "select * from t where x='open",
         }) {
        const SelectShape s = analyzeSelect(sql);
        EXPECT_FALSE(s.updatable) << sql;
        EXPECT_FALSE(s.reason.empty()) << sql;
    }
}

TEST(StatementText, OnlyOneStatementRuns) {
    EXPECT_NO_THROW(requireSingleStatement("delete from t where a='x;y'"));
    EXPECT_NO_THROW(requireSingleStatement("delete from t where a='it''s; fine';  "));
    EXPECT_NO_THROW(requireSingleStatement("select 1 -- trailing; comment"));
    try {
        requireSingleStatement("delete from t where a='x'; drop table t");
        FAIL() << "a second statement was accepted";
    } catch (const StoreError& e) {
        EXPECT_NE(std::string(e.what()).find("after end of SQL statement"), std::string::npos);
    }
    EXPECT_EQ(quoteIdentifier("a\"b"), "\"a\"\"b\"");
    EXPECT_EQ(sqlText("O'Brien''s"), "O''Brien''''s");
    EXPECT_EQ(sqlText("plain"), "plain");
}

} // namespace
} // namespace velmora::ado
