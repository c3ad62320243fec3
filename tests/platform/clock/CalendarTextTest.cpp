// The date texts every layer writes: zero-padded fields, the host filters' month-first form, and
// the last second of a day that must not roll into the next.
#include "platform/clock/CalendarText.h"

#include <gtest/gtest.h>

using namespace velmora::timekeeping;
using namespace std::chrono;

TEST(CalendarText, FieldsAndTextsOfOneTime) {
    const DateTime leapEve = sys_days{year{2024} / 2 / 29} + hours{23} + minutes{59} + seconds{59};
    const CalendarFields f = calendarFields(leapEve);
    EXPECT_EQ(f.year, 2024);
    EXPECT_EQ(f.month, 2);
    EXPECT_EQ(f.day, 29);
    EXPECT_EQ(f.hour, 23);
    EXPECT_EQ(f.minute, 59);
    EXPECT_EQ(f.second, 59);
    EXPECT_EQ(isoDateTimeText(leapEve), "2024-02-29 23:59:59");
    EXPECT_EQ(filterDayText(leapEve), "02/29/2024");
    EXPECT_EQ(filterDateTimeText(leapEve), "02/29/2024 23:59");

    const DateTime early = sys_days{year{987} / 1 / 5} + hours{7} + minutes{3};
    EXPECT_EQ(isoDateTimeText(early), "0987-01-05 07:03:00");
    EXPECT_EQ(filterDateTimeText(early), "01/05/0987 07:03");
    // An impossible date is written as given, for the message that refuses it.
    EXPECT_EQ(isoDateTimeText(CalendarFields{2023, 2, 30, 24, 0, 0}), "2023-02-30 24:00:00");
}
