// Tests of the event search dialog on the in-memory host: subject and location in both modes and
// languages, start, end and creation ranges, the range lists, creators, positions, OK and Apply.
#include "dialogs/search/DialogSearch.h"

#include "SearchFixture.h"

#include <gtest/gtest.h>

namespace velmora {
namespace {

using host::makeDate;
using testing::keysOf;
using testing::runSearch;

class EventSearch : public ::testing::Test {
  protected:
    EventSearch() {
        s.state.isChinese = false;
        s.clock.set(testing::fixedNow());
    }
    host::ItemPtr event(const std::string& subject, const std::string& location,
                        host::DateTime start, host::DateTime created = testing::fixedNow()) {
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
    controls::ComboBox& combo(const char* name) { return form().get<controls::ComboBox>(name); }

    testing::TestSession s;
    controls::ListView target{"ListViewLeftPlus"};
    dialogs::DialogSearchPlus dialog{s.state};
};

TEST_F(EventSearch, SubjectAndLocationByContainsAndEqualsInBothLanguages) {
    const host::ItemPtr review = event("Ann's \"Review\"", "Room 4", makeDate(2026, 4, 2, 9));
    const host::ItemPtr lunch = event("Lunch", "Harbour Room", makeDate(2026, 4, 2, 12));
    open();
    EXPECT_EQ(combo("inBox").List(1), "Location");
    EXPECT_EQ(runSearch(form(), "REVIEW", 0, 0), keysOf({review}));
    EXPECT_EQ(runSearch(form(), "room", 1, 0), keysOf({review, lunch}));
    EXPECT_EQ(runSearch(form(), "HARBOUR room", 1, 1), keysOf({lunch}));
    EXPECT_EQ(runSearch(form(), "ann's \"review\"", 0, 1), keysOf({review}));
    EXPECT_TRUE(runSearch(form(), "lunch break", 0, 1).empty());
    EXPECT_EQ(s.messages.lastText(), "No item found.");
    runSearch(form(), "lunch", 0, 0);
    EXPECT_EQ(testing::rowTexts(form().get<controls::ListView>("ListView").ListItems().Item(1)),
              "Lunch|Harbour Room|" + lunch->Text("Start") + "|" + lunch->Text("End") + "|alice");
    form().unload();

    s.state.isChinese = true;
    open();
    EXPECT_EQ(combo("inBox").List(0), "主题");
    EXPECT_EQ(combo("timeBox").List(4), "修改时间");
    EXPECT_EQ(form().get<controls::ListView>("ListView").ColumnHeaders().Item(3).text, "地点");
}

TEST_F(EventSearch, AccentedCaseIsIgnoredAndARefusedFilterEndsTheSearch) {
    const host::ItemPtr fete = event("Fête d'été", "Café Zoë", makeDate(2026, 4, 2, 19));
    event("Fete", "Cafe", makeDate(2026, 4, 3, 19));
    open();
    EXPECT_EQ(runSearch(form(), "FÊTE D'ÉTÉ", 0, 0), keysOf({fete}));
    EXPECT_EQ(runSearch(form(), "CAFÉ ZOË", 1, 1), keysOf({fete}));
    EXPECT_TRUE(s.messages.shown.empty());

    s.host.failMember("Items.Restrict", "Restrict broke", 1);
    EXPECT_TRUE(runSearch(form(), "café zoë", 1, 1).empty());
    ASSERT_EQ(s.messages.shown.size(), 2u);
    EXPECT_EQ(s.messages.shown[0].text, "getInUnVague:Restrict broke");
    EXPECT_EQ(s.messages.lastText(), "No item found.");
    EXPECT_TRUE(form().get<controls::CommandButton>("Search").Enabled());
}

TEST_F(EventSearch, StartEndAndCreationRangesWithTheirRangeLists) {
    // Today is Wednesday 1 April 2026; next week runs from Sunday 5 to Sunday 12 April.
    const host::ItemPtr sat = event("Plan A", "", makeDate(2026, 4, 4, 23, 59));
    const host::ItemPtr sun = event("Plan B", "", makeDate(2026, 4, 5));
    const host::ItemPtr nextSat = event("Plan C", "", makeDate(2026, 4, 11, 23, 59));
    event("Plan D", "", makeDate(2026, 4, 12));
    const host::ItemPtr tomorrow = event("Plan E", "", makeDate(2026, 4, 2, 10));
    const host::ItemPtr may = event("Plan F", "", makeDate(2026, 5, 31, 23), makeDate(2026, 3, 2));
    open();
    auto& ranges = combo("selectTime");
    EXPECT_EQ(runSearch(form(), "plan", 0, 0, 1, 8), keysOf({sun, nextSat}));
    EXPECT_EQ(ranges.ListCount(), 12);
    EXPECT_EQ(runSearch(form(), "plan", 0, 0, 1, 5), keysOf({sat, sun, tomorrow}));
    EXPECT_EQ(runSearch(form(), "plan", 0, 0, 1, 11), keysOf({may}));
    EXPECT_EQ(runSearch(form(), "PLAN B", 0, 1, 1, 8), keysOf({sun}));
    // Ends: the hour-long meetings of the Saturdays end on the Sundays.
    EXPECT_EQ(runSearch(form(), "plan", 0, 0, 2, 8), keysOf({sat, sun}));

    combo("timeBox").choose(3);
    EXPECT_EQ(ranges.ListCount(), 8);
    EXPECT_EQ(ranges.List(7), "this month");
    EXPECT_EQ(runSearch(form(), "plan", 0, 0, 3, 6), keysOf({may}));
    EXPECT_EQ(runSearch(form(), "plan", 0, 0, 4, 2).size(), 5u);
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
    const controls::ListItem& added = target.ListItems().Item(2);
    EXPECT_EQ(added.Key() + "|" + added.SubItems(1) + "|" + added.SubItems(3),
              bobs->EntryID() + "|Sync up|bob");
    EXPECT_EQ(added.SmallIcon(), 3);
    EXPECT_EQ(s.state.ui.eventSearchTime, 0);
    EXPECT_EQ(s.state.ui.eventSearchTimeRange, 11);

    dialog.Show();
    // "anytime" is remembered as "this month".
    combo("timeBox").choose(2);
    combo("selectTime").choose(0);
    form().get<controls::CommandButton>("Cancel").click();
    EXPECT_EQ(s.state.ui.eventSearchTime, 2);
    EXPECT_EQ(s.state.ui.eventSearchTimeRange, 10);
}

} // namespace
} // namespace velmora
