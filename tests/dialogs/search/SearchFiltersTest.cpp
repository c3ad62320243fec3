// Tests of the shared search filters: the exact filter texts, ranges at week, month and year
// boundaries, and operands for words holding quotes.
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
    // Saturday 2 January 2027: the week and the last month began in the year before.
    const host::DateTime saturday = makeDate(2027, 1, 2, 23, 59);
    EXPECT_EQ(timeFilter("[start]", TimeRange::thisWeek, saturday),
              "[start]<'01/03/2027 00:00' And [start]>='12/27/2026 00:00'");
    EXPECT_EQ(timeFilter("[start]", TimeRange::lastMonth, saturday),
              "[start]<'01/01/2027 00:00' And [start]>='12/01/2026 00:00'");
    EXPECT_EQ(timeFilter("[start]", TimeRange::tomorrow, makeDate(2026, 12, 31)),
              "[start]>='01/01/2027 00:00' And [start]<'01/02/2027 00:00'");
    EXPECT_THROW(timeFilter("[start]", TimeRange::anytime, now), std::invalid_argument);
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
