// Tests of the appointment link engine on the real store and the in-memory host: recurrence
// columns per pattern type, the 50-character subject, relinks and counters, and failures.
#include "links/AttachEvent.h"
#include "platform/controls/ListView.h"
#include "platform/host/DateText.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

namespace velmora {
namespace {

using testing::TestSession;

// A store-side refusal of some rows, made on a second connection to the session's store file.
void refuseInserts(TestSession& s, const std::string& condition) {
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(s.storeFile().c_str(), &db), SQLITE_OK);
    const std::string sql = "create trigger refuse before insert on noteTb when " + condition +
                            " begin select raise(abort, 'row refused'); end";
    EXPECT_EQ(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

class EventLinks : public ::testing::Test {
  protected:
    TestSession s;
    AttachEvent engine{s.state};

    host::ItemPtr contact(const std::string& name) {
        host::ItemPtr c = s.host.application().CreateItem(host::olContactItem);
        c->Set("FullName", name);
        c->Save();
        return c;
    }
    host::ItemPtr appointment(const std::string& subject,
                              std::vector<host::ItemPtr> contacts = {}) {
        host::ItemPtr a = s.host.application().CreateItem(host::olAppointmentItem);
        a->Set("Subject", subject);
        a->Set("Start", host::makeDate(2026, 3, 14, 9));
        a->Set("End", host::makeDate(2026, 3, 14, 10));
        a->Save();
        for (const auto& c : contacts)
            a->Links().Add(c);
        return a;
    }
    std::string history(const host::ItemPtr& a, const std::string& column) {
        return s.scalar("select coalesce(" + column +
                        ", 'null') from CalendarHistory where taskid='" + a->EntryID() + "'");
    }
    std::string link(const host::ItemPtr& a, const host::ItemPtr& c, const std::string& column) {
        return s.scalar("select " + column + " from noteTb where OutlookAttachID='" + a->EntryID() +
                        "' and OutlookContactID='" + c->EntryID() + "'");
    }
};

TEST_F(EventLinks, RecurrenceColumnsFollowThePatternType) {
    using P = host::RecurrencePattern;
    struct Case {
        P pattern;
        std::vector<std::string> expected; // type, frequency, weekdays, day, week, month, count
    };
    const std::vector<Case> cases = {
        {P{host::olRecursWeekly, 2, 10, 0, 0, 0, false, 6},
         {"1", "2", "10", "null", "null", "null", "6"}},
        {P{host::olRecursYearly, 1, 0, 14, 0, 3, true, 0},
         {"5", "null", "null", "14", "null", "3", "null"}},
        {P{host::olRecursDaily, 3, 0, 0, 0, 0, true, 0},
         {"0", "3", "0", "null", "null", "null", "null"}},
        {P{host::olRecursMonthly, 1, 0, 5, 0, 0, true, 0},
         {"2", "1", "null", "5", "null", "null", "null"}},
        {P{host::olRecursMonthNth, 1, 4, 0, 2, 0, true, 0},
         {"3", "1", "4", "null", "2", "null", "null"}},
        {P{host::olRecursYearNth, 1, 2, 0, 1, 11, false, 4},
         {"6", "null", "2", "null", "1", "11", "4"}},
    };
    const host::ItemPtr ann = contact("Ann Lee");
    for (const Case& c : cases) {
        host::ItemPtr a = appointment("Recurring", {ann});
        P pattern = c.pattern;
        pattern.PatternStartDate = host::makeDate(2026, 3, 14);
        pattern.PatternEndDate = host::makeDate(2027, 3, 14);
        a->SetRecurrencePattern(pattern);
        engine.attachEventtoContact(*a, false);
        const std::vector<std::string> got = {
            history(a, "recurtype"), history(a, "recurfrequency"), history(a, "repeatonweekid"),
            history(a, "recurday"),  history(a, "recurweek"),      history(a, "recurmonth"),
            history(a, "recurNum")};
        EXPECT_EQ(got, c.expected) << "recurrence type " << c.pattern.RecurrenceType;
        EXPECT_EQ(history(a, "isrepeat"), "1");
        EXPECT_EQ(history(a, "noenddate"), c.pattern.NoEndDate ? "1" : "0");
        EXPECT_EQ(history(a, "re_untildate"), "2027-03-14 00:00:00");
    }
    host::ItemPtr single = appointment("Once", {ann});
    engine.attachEventtoContact(*single, false);
    EXPECT_EQ(history(single, "isrepeat"), "0");
    EXPECT_EQ(history(single, "recurtype"), "null");
    EXPECT_EQ(history(single, "fromdate"), "2026-03-14 09:00:00");
}

TEST_F(EventLinks, SubjectIsCutToFiftyCharactersInTheHistoryOnly) {
    const host::ItemPtr ann = contact("Ann Lee");
    const std::string fifty(50, 's');
    std::string chinese;
    for (int i = 0; i < 51; ++i)
        chinese += "会";
    const std::string quoted = "It's \"big\" " + std::string(40, 'q');
    for (const auto& [subject, kept] :
         std::vector<std::pair<std::string, std::string>>{{fifty, fifty},
                                                          {fifty + "t", fifty},
                                                          {chinese, chinese.substr(0, 150)},
                                                          {quoted, quoted.substr(0, 50)}}) {
        host::ItemPtr a = appointment(subject, {ann});
        engine.attachEventtoContact(*a, false);
        EXPECT_EQ(history(a, "eventname"), kept);
        EXPECT_EQ(link(a, ann, "Regarding"), subject);
    }
}

TEST_F(EventLinks, RelinkRevivesRowsCountsThemAndSparesOtherUsersPrivateLinks) {
    const host::ItemPtr ann = contact("Ann Lee"), bob = contact("Bob Roe");
    host::ItemPtr a = appointment("Planning", {ann, bob});
    s.mapEvent(a->EntryID(), "erin_9");
    s.exec("insert into noteTb (OutlookAttachID, OutlookContactID, Creator, PrivateAccess, "
           "MakeDelete, type) values ('" +
           a->EntryID() + "','X1','bob',1,0,1)");
    engine.attachEventtoContact(*a, true);
    EXPECT_EQ(history(a, "counter"), "2");
    EXPECT_EQ(history(a, "velmoraid"), "erin_9");
    EXPECT_EQ(link(a, bob, "Creator"), "erin");
    EXPECT_EQ(link(a, bob, "PrivateAccess"), "0");
    const std::string annRow = link(a, ann, "rowid");

    controls::ListView list("ListViewRightPlus");
    list.ListItems().Add(0, ann->EntryID());
    engine.attachEventtoContactForListView(*a, list, false);
    EXPECT_EQ(link(a, ann, "rowid"), annRow);
    EXPECT_EQ(link(a, ann, "MakeDelete"), "0");
    EXPECT_EQ(link(a, bob, "MakeDelete"), "1");
    EXPECT_EQ(history(a, "counter"), "1");
    EXPECT_EQ(s.scalar("select MakeDelete from noteTb where OutlookContactID='X1'"), "0");

    // A linked contact that is gone is no contact: nothing is written and the history stays.
    a->Links().Remove(2);
    ann->Delete();
    engine.attachEventtoContact(*a, false);
    EXPECT_EQ(history(a, "counter"), "1");
    EXPECT_EQ(s.scalar("select MakeDelete from noteTb where rowid=" + annRow), "0")
        << "erin's private link is not alice's to remove";

    a->Links().Remove(1);
    engine.attachEventtoContact(*a, false);
    EXPECT_EQ(s.count("select * from CalendarHistory"), 0);
}

TEST_F(EventLinks, FailedRowsAreReportedAndNotCountedWhileHostFaultsLoseNothing) {
    const host::ItemPtr ann = contact("Ann Lee"), bob = contact("Bob Roe");
    host::ItemPtr a = appointment("Budget", {ann, bob});
    refuseInserts(s, "new.OutlookContactID='" + bob->EntryID() + "'");
    engine.attachEventtoContact(*a, false);
    EXPECT_EQ(history(a, "counter"), "1");
    ASSERT_EQ(s.messages.shown.size(), 1u);
    EXPECT_EQ(s.messages.shown[0].text.rfind("addEventToNoteTb :", 0), 0u);

    host::ItemPtr onlyBob = appointment("Refused", {bob});
    engine.attachEventtoContact(*onlyBob, false);
    EXPECT_EQ(history(onlyBob, "counter"), "") << "no row written, no history";

    s.host.failMember("Links.Count", "links unavailable", 1);
    engine.attachEventtoContact(*a, false);
    EXPECT_EQ(history(a, "counter"), "1") << "uncounted contacts are not an empty list";
    EXPECT_EQ(link(a, ann, "MakeDelete"), "0");

    s.state.storeConnection->Close();
    EXPECT_THROW(engine.attachEventtoContact(*a, false), ado::StoreError);
}

} // namespace
} // namespace velmora
