// A local time split into its calendar fields, and the date texts written from them: the one
// place that turns a DateTime into numbers and digits, for the store, the host and the dialogs.
#pragma once

#include "platform/clock/Clock.h"

#include <string>

namespace velmora::timekeeping {

struct CalendarFields {
    int year, month, day, hour, minute, second;
};

CalendarFields calendarFields(DateTime when);

// "YYYY-MM-DD HH:MM:SS", zero-padded, 24-hour. Fields are written as given, checked or not,
// so that a message can show the impossible date it refuses.
std::string isoDateTimeText(const CalendarFields& fields);
std::string isoDateTimeText(DateTime when);

// "MM/DD/YYYY" and "MM/DD/YYYY HH:MM" (24-hour), the date forms the mail host's filters read.
std::string filterDayText(DateTime when);
std::string filterDateTimeText(DateTime when);

} // namespace velmora::timekeeping
