// Tests of the event search dialog on the in-memory host: subject and location in both modes and
// languages, start, end and creation ranges, the range lists, creators, positions, OK and Apply.
#include "dialogs/search/DialogSearchPlus.h"

#include "platform/controls/Label.h"
#include "SearchFixture.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using host::makeDate;
using testing::fixedNow;
using testing::keysOf;
using testing::runSearch;
using testing::TestSession;

class EventSearch : public ::testing::Test {
  protected:
    EventSearch() {
        s.state.isChinese = false;
        s.state.platform.now = [] { return fixedNow(); };
    }
    host::ItemPtr event(const std::string& subject, const std::string& location,
                        host::DateTime start, host::DateTime created = fixedNow()) {
        return testing::makeItem(s, host::olAppointmentItem,
                                 {{"Subject", subject},
                                  {"Location", location},
                                  {"Start", start},
                                  {"End", start + std::chrono::hours(1)}},
                                 created);
    }
    void open() {
        s.state.searchTarget = &target;
        dialog.Show();
    }
    controls::Form& form() { return dialog.form(); }
    controls::ListView& results() { return form().get<controls::ListView>("ListView"); }
    controls::ComboBox& combo(const char* name) { return form().get<controls::ComboBox>(name); }

    TestSession s;
    controls::ListView target{"ListViewLeftPlus"};
    dialogs::DialogSearchPlus dialog{s.state};
};

TEST_F(EventSearch, SubjectAndLocationByContainsAndEqualsWithTheResultColumns) {
    const host::ItemPtr review = event("Budget Review", "Room 4", makeDate(2026, 4, 2, 9));
    const host::ItemPtr lunch = event("Lunch", "Harbour Room", makeDate(2026, 4, 2, 12));
    open();
    EXPECT_EQ(combo("inBox").List(1), "Location");
    EXPECT_EQ(results().ColumnHeaders().Item(4).text, "Start Time");
    EXPECT_EQ(runSearch(form(), "REVIEW", 0, 0), keysOf({review}));
    EXPECT_EQ(runSearch(form(), "room", 1, 0), keysOf({review, lunch}));
    EXPECT_EQ(runSearch(form(), "HARBOUR room", 1, 1), keysOf({lunch}));
    EXPECT_EQ(runSearch(form(), "budget review", 0, 1), keysOf({review}));
    EXPECT_TRUE(runSearch(form(), "budget", 0, 1).empty());
    EXPECT_EQ(s.messages.lastText(), "No item found.");

    runSearch(form(), "lunch", 0, 0);
    const controls::ListItem& row = results().ListItems().Item(1);
    EXPECT_EQ(row.SmallIcon(), 3);
    EXPECT_EQ(row.SubItems(1), "Lunch");
    EXPECT_EQ(row.SubItems(2), "Harbour Room");
    EXPECT_EQ(row.SubItems(3), lunch->Text("Start"));
    EXPECT_EQ(row.SubItems(4), lunch->Text("End"));
    EXPECT_EQ(row.SubItems(5), "alice");
}

TEST_F(EventSearch, ChineseEntriesAndQuotedSubjects) {
    s.state.isChinese = true;
    const host::ItemPtr quoted = event("Ann's \"kick-off\"", "总部", makeDate(2026, 4, 2, 9));
    open();
    EXPECT_EQ(form().get<controls::Label>("Label3").Caption(), "时间范围: ");
    EXPECT_EQ(combo("inBox").List(0), "主题");
    EXPECT_EQ(combo("timeBox").List(1), "开始时间");
    EXPECT_EQ(results().ColumnHeaders().Item(3).text, "地点");
    EXPECT_EQ(runSearch(form(), "ann's \"kick-off\"", 0, 1), keysOf({quoted}));
    EXPECT_EQ(runSearch(form(), "总部", 1, 1), keysOf({quoted}));
    EXPECT_TRUE(s.messages.shown.empty());
}

TEST_F(EventSearch, StartEndAndCreationRangesWithTheirRangeLists) {
    // Today is Wednesday 1 April 2026; next week runs from Sunday 5 to Sunday 12 April.
    const host::ItemPtr sat = event("Plan A", "", makeDate(2026, 4, 4, 23, 59));
    const host::ItemPtr sun = event("Plan B", "", makeDate(2026, 4, 5));
    const host::ItemPtr nextSat = event("Plan C", "", makeDate(2026, 4, 11, 23, 59));
    const host::ItemPtr afterSun = event("Plan D", "", makeDate(2026, 4, 12));
    const host::ItemPtr tomorrow = event("Plan E", "", makeDate(2026, 4, 2, 10));
    const host::ItemPtr may = event("Plan F", "", makeDate(2026, 5, 31, 23), makeDate(2026, 3, 2));
    open();
    auto& ranges = combo("selectTime");
    EXPECT_EQ(runSearch(form(), "plan", 0, 0, 1, 8), keysOf({sun, nextSat}));
    EXPECT_EQ(ranges.ListCount(), 12);
    EXPECT_EQ(ranges.List(8), "next week");
    EXPECT_EQ(runSearch(form(), "plan", 0, 0, 1, 3), keysOf({tomorrow}));
    EXPECT_EQ(runSearch(form(), "plan", 0, 0, 1, 5), keysOf({sat, sun, tomorrow}));
    EXPECT_EQ(runSearch(form(), "plan", 0, 0, 1, 11), keysOf({may}));
    // Equals within a range restricts the restricted items once more.
    EXPECT_EQ(runSearch(form(), "PLAN B", 0, 1, 1, 8), keysOf({sun}));
    EXPECT_TRUE(runSearch(form(), "plan b", 0, 1, 1, 3).empty());
    // Ends: the hour-long meetings of the Saturdays end on the Sundays.
    EXPECT_EQ(runSearch(form(), "plan", 0, 0, 2, 8), keysOf({sat, sun}));

    combo("timeBox").choose(3);
    EXPECT_EQ(ranges.ListCount(), 8);
    EXPECT_EQ(ranges.List(7), "this month");
    EXPECT_EQ(runSearch(form(), "plan", 0, 0, 3, 6), keysOf({may}));
    EXPECT_EQ(runSearch(form(), "plan", 0, 0, 4, 2).size(), 5u);
    combo("timeBox").choose(0);
    EXPECT_FALSE(ranges.Enabled());
    combo("timeBox").choose(1);
    EXPECT_EQ(ranges.ListCount(), 12);
}

TEST_F(EventSearch, OkAddsEventsWithCreatorsAndUnloadRemembersTheEventPositions) {
    const host::ItemPtr mine = event("Sync", "", makeDate(2026, 4, 2, 9));
    const host::ItemPtr bobs = event("Sync up", "", makeDate(2026, 4, 3, 9));
    s.mapEvent(bobs->EntryID(), "bob_3");
    s.state.ui.eventSearchTime = 1;
    s.state.ui.eventSearchTimeRange = 11;
    open();
    EXPECT_EQ(combo("selectTime").ListIndex(), 11);
    ASSERT_EQ(runSearch(form(), "sync", 0, 0, 0), keysOf({mine, bobs}));
    form().get<controls::CheckBox>("Check1").click();
    form().get<controls::CommandButton>("OK").click();
    EXPECT_FALSE(form().Loaded());
    ASSERT_EQ(target.ListItems().Count(), 2);
    EXPECT_EQ(target.ListItems().Item(2).Key(), bobs->EntryID());
    EXPECT_EQ(target.ListItems().Item(2).SmallIcon(), 3);
    EXPECT_EQ(target.ListItems().Item(2).SubItems(1), "Sync up");
    EXPECT_EQ(target.ListItems().Item(2).SubItems(3), "bob");
    EXPECT_EQ(target.ListItems().Item(1).SubItems(3), "alice");
    EXPECT_EQ(s.state.ui.eventSearchTime, 0);
    EXPECT_EQ(s.state.ui.eventSearchTimeRange, 11);
    EXPECT_EQ(s.state.ui.contactSearchTimeRange, 0);

    // Without a target the pick is refused with the dialog's tag, and nothing is lost.
    dialog.Show();
    runSearch(form(), "sync", 0, 0);
    form().get<controls::CheckBox>("Check1").click();
    s.state.searchTarget = nullptr;
    form().get<controls::CommandButton>("Apply").click();
    EXPECT_EQ(s.messages.lastText().rfind("SearchOK>>", 0), 0u);
    EXPECT_TRUE(form().Loaded());

    // "anytime" is remembered as "this month".
    combo("timeBox").choose(2);
    combo("selectTime").choose(0);
    form().get<controls::CommandButton>("Cancel").click();
    EXPECT_EQ(s.state.ui.eventSearchTime, 2);
    EXPECT_EQ(s.state.ui.eventSearchTimeRange, 10);
}

} // namespace
} // namespace velmora
