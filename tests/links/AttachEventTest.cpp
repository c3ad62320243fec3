// Tests of the appointment link engine on the real store and the in-memory host: recurrence
// columns per pattern type, the 50-character subject, relinks and counters, and failures.
#include "links/AttachEvent.h"
#include "platform/controls/ListView.h"
#include "platform/host/DateText.h"
#include "support/ErrorText.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using testing::TestSession;

class EventLinks : public ::testing::Test {
  protected:
    TestSession s;
    AttachEvent engine{s.state};
    host::ItemPtr ann = contact("Ann Lee");
    host::ItemPtr bob = contact("Bob Roe");

    host::ItemPtr contact(const std::string& name) {
        host::ItemPtr c = s.host.application().CreateItem(host::olContactItem);
        c->Set("FullName", name);
        c->Save();
        return c;
    }
    host::ItemPtr appointment(const std::string& subject, std::vector<host::ItemPtr> contacts) {
        host::ItemPtr a = s.host.application().CreateItem(host::olAppointmentItem);
        a->Set("Subject", subject);
        a->Set("Start", host::makeDate(2026, 3, 14, 9));
        a->Set("End", host::makeDate(2026, 3, 14, 10));
        a->Save();
        for (const auto& c : contacts)
            a->Links().Add(c);
        return a;
    }
    // Columns of the history row joined with "|", unwritten ones as "-".
    std::string history(const host::ItemPtr& a, const std::vector<std::string>& columns) {
        std::string list;
        for (const auto& c : columns)
            list += (list.empty() ? "" : "||'|'||") + ("coalesce(cast(" + c + " as text),'-')");
        return s.scalar("select " + list + " from CalendarHistory where taskid='" + a->EntryID() +
                        "'");
    }
    std::string link(const host::ItemPtr& a, const host::ItemPtr& c, const std::string& column) {
        return s.scalar("select " + column + " from noteTb where OutlookAttachID='" + a->EntryID() +
                        "' and OutlookContactID='" + c->EntryID() + "'");
    }
};

TEST_F(EventLinks, RecurrenceColumnsFollowThePatternType) {
    using P = host::RecurrencePattern;
    // type, frequency, weekdays, day, week, month, occurrences, no end date
    const std::vector<std::pair<P, std::string>> cases = {
        {P{host::olRecursWeekly, 2, 10, 0, 0, 0, false, 6}, "1|2|10|-|-|-|6|0"},
        {P{host::olRecursYearly, 1, 0, 14, 0, 3, true, 0}, "5|-|-|14|-|3|-|1"},
        {P{host::olRecursDaily, 3, 0, 0, 0, 0, true, 0}, "0|3|0|-|-|-|-|1"},
        {P{host::olRecursMonthly, 1, 0, 5, 0, 0, true, 0}, "2|1|-|5|-|-|-|1"},
        {P{host::olRecursMonthNth, 1, 4, 0, 2, 0, true, 0}, "3|1|4|-|2|-|-|1"},
        {P{host::olRecursYearNth, 1, 2, 0, 1, 11, false, 4}, "6|-|2|-|1|11|4|0"},
    };
    const std::vector<std::string> columns = {"recurtype", "recurfrequency", "repeatonweekid",
                                              "recurday",  "recurweek",      "recurmonth",
                                              "recurNum",  "noenddate"};
    for (auto [pattern, expected] : cases) {
        host::ItemPtr a = appointment("Recurring", {ann});
        pattern.PatternEndDate = host::makeDate(2027, 3, 14);
        a->SetRecurrencePattern(pattern);
        engine.attachEventtoContact(*a, false);
        EXPECT_EQ(history(a, columns), expected) << "type " << pattern.RecurrenceType;
        EXPECT_EQ(history(a, {"isrepeat", "re_untildate"}), "1|2027-03-14 00:00:00");
    }
    host::ItemPtr single = appointment("Once", {ann});
    engine.attachEventtoContact(*single, false);
    EXPECT_EQ(history(single, {"isrepeat", "recurtype", "fromdate"}), "0|-|2026-03-14 09:00:00");
}

TEST_F(EventLinks, SubjectIsCutToFiftyCharactersInTheHistoryOnly) {
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
        EXPECT_EQ(history(a, {"eventname"}), kept);
        EXPECT_EQ(link(a, ann, "Regarding"), subject);
    }
}

TEST_F(EventLinks, RelinkRevivesRowsCountsThemAndSparesOtherUsersPrivateLinks) {
    host::ItemPtr a = appointment("Planning", {ann, bob});
    s.mapEvent(a->EntryID(), "erin_9");
    engine.attachEventtoContact(*a, true);
    EXPECT_EQ(history(a, {"counter", "velmoraid"}), "2|erin_9");
    EXPECT_EQ(link(a, bob, "Creator||'|'||PrivateAccess||'|'||type"), "erin|0|1");
    const std::string annId = ann->EntryID();

    controls::ListView list("ListViewRightPlus");
    list.ListItems().Add(0, ann->EntryID());
    engine.attachEventtoContactForListView(*a, list, false);
    EXPECT_EQ(link(a, ann, "count(*)||'|'||max(MakeDelete)"), "1|0") << "the same row, revived";
    EXPECT_EQ(link(a, bob, "MakeDelete"), "1");
    EXPECT_EQ(history(a, {"counter"}), "1");

    // A linked contact that is gone is no contact: nothing is written and the history stays.
    a->Links().Remove(2);
    ann->Delete();
    engine.attachEventtoContact(*a, false);
    EXPECT_EQ(history(a, {"counter"}), "1");
    EXPECT_EQ(s.scalar("select MakeDelete from noteTb where OutlookContactID='" + annId + "'"), "0")
        << "erin's private link is not alice's to remove";

    a->Links().Remove(1);
    engine.attachEventtoContact(*a, false);
    EXPECT_EQ(s.count("select * from CalendarHistory"), 0);
}

TEST_F(EventLinks, AFailedRowIsReportedAndTheRelinkKeepsTheLinksThatStood) {
    host::ItemPtr a = appointment("Budget", {ann});
    engine.attachEventtoContact(*a, false);
    EXPECT_EQ(history(a, {"counter"}), "1");

    s.refuseInserts("noteTb", "new.OutlookContactID='" + bob->EntryID() + "'", "row refused");
    a->Links().Add(bob);
    engine.attachEventtoContact(*a, false);
    ASSERT_EQ(s.messages.shown.size(), 1u);
    EXPECT_TRUE(testing::trapped(s.messages.shown[0].text, "addEventToNoteTb :", "row refused"))
        << s.messages.shown[0].text;
    EXPECT_EQ(history(a, {"counter"}) + link(a, ann, "MakeDelete"), "10")
        << "the relink is undone whole: Ann's link and the history stand";

    host::ItemPtr onlyBob = appointment("Refused", {bob});
    engine.attachEventtoContact(*onlyBob, false);
    EXPECT_EQ(history(onlyBob, {"counter"}), "") << "no row written, no history";

    s.host.failMember("Links.Count", "links unavailable", 1);
    engine.attachEventtoContact(*a, false);
    EXPECT_EQ(history(a, {"counter"}) + link(a, ann, "MakeDelete"), "10")
        << "uncounted contacts are not an empty list";

    s.state.storeConnection->Close();
    EXPECT_THROW(engine.attachEventtoContact(*a, false), ado::StoreError);
}

} // namespace
} // namespace velmora
