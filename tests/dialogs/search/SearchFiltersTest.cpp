// Tests of the shared search filters: the exact filter texts, range bounds at week, month and
// year boundaries, and operands for words holding quotes.
#include "dialogs/search/SearchFilters.h"

#include "platform/host/DateText.h"

#include <gtest/gtest.h>

namespace velmora::search {
namespace {

using host::makeDate;

TEST(SearchFilters, TimeFiltersNameDayRangesLowerFirstAndWeekAndMonthRangesUpperFirst) {
    const host::DateTime now = makeDate(2026, 4, 1, 15, 30); // a Wednesday
    EXPECT_EQ(timeFilter("[creationTime]", TimeRange::yesterday, now),
              "[creationTime]>='03/31/2026 00:00' And [creationTime]<'04/01/2026 00:00'");
    EXPECT_EQ(timeFilter("[start]", TimeRange::next7Days, now),
              "[start]>='04/01/2026 00:00' And [start]<'04/08/2026 00:00'");
    EXPECT_EQ(timeFilter("[lastmodificationtime]", TimeRange::thisWeek, now),
              "[lastmodificationtime]<'04/05/2026 00:00' And "
              "[lastmodificationtime]>='03/29/2026 00:00'");
    EXPECT_EQ(timeFilter("[end]", TimeRange::lastMonth, now),
              "[end]<'04/01/2026 00:00' And [end]>='03/01/2026 00:00'");
    EXPECT_THROW(timeFilter("[start]", TimeRange::anytime, now), std::invalid_argument);
}

TEST(SearchFilters, RangeBoundsAtWeekMonthAndYearBoundaries) {
    const auto bounds = [](TimeRange range, host::DateTime now) {
        const DayRange r = rangeBounds(range, now);
        return host::isoDateText(r.from).substr(0, 10) + " " +
               host::isoDateText(r.to).substr(0, 10);
    };
    // Saturday 2 January 2027: the week began in December.
    const host::DateTime saturday = makeDate(2027, 1, 2, 23, 59);
    EXPECT_EQ(bounds(TimeRange::thisWeek, saturday), "2026-12-27 2027-01-03");
    EXPECT_EQ(bounds(TimeRange::lastWeek, saturday), "2026-12-20 2026-12-27");
    EXPECT_EQ(bounds(TimeRange::lastMonth, saturday), "2026-12-01 2027-01-01");
    EXPECT_EQ(bounds(TimeRange::last7Days, saturday), "2026-12-27 2027-01-03");
    // A Sunday begins its own week.
    const host::DateTime sunday = makeDate(2026, 3, 29);
    EXPECT_EQ(bounds(TimeRange::thisWeek, sunday), "2026-03-29 2026-04-05");
    EXPECT_EQ(bounds(TimeRange::nextWeek, sunday), "2026-04-05 2026-04-12");
    // The last day of a month and of a year.
    EXPECT_EQ(bounds(TimeRange::tomorrow, makeDate(2026, 12, 31, 8)), "2027-01-01 2027-01-02");
    EXPECT_EQ(bounds(TimeRange::nextMonth, makeDate(2026, 12, 31)), "2027-01-01 2027-02-01");
    EXPECT_EQ(bounds(TimeRange::thisMonth, makeDate(2028, 2, 29)), "2028-02-01 2028-03-01");
    EXPECT_EQ(bounds(TimeRange::yesterday, makeDate(2026, 3, 1, 0, 1)), "2026-02-28 2026-03-01");
}

TEST(SearchFilters, EqualsFiltersQuoteWordsSoAnyTextStaysOneOperand) {
    EXPECT_EQ(equalsFilter({"[lastname]", " Or [firstname]"}, "ann"),
              "[lastname]='ann' Or [firstname]='ann'");
    EXPECT_EQ(equalsFilter({"[subject]"}, "say \"hi\""), "[subject]='say \"hi\"'");
    EXPECT_EQ(equalsFilter({"[fileas]"}, "o'neil"), "[fileas]=\"o'neil\"");
    EXPECT_EQ(equalsFilter({"[fileas]"}, "o'neil \"jr\""), "[fileas]=\"o'neil \"\"jr\"\"\"");
}

} // namespace
} // namespace velmora::search
