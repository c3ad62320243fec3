// Calendar fields by <chrono> alone, so that no locale and no time zone takes part: the times
// are local already.
#include "platform/clock/CalendarText.h"

#include <cstdio>

namespace velmora::timekeeping {

CalendarFields calendarFields(DateTime when) {
    using namespace std::chrono;
    const auto day = floor<days>(when);
    const year_month_day ymd{day};
    const hh_mm_ss<seconds> time{when - day};
    return {static_cast<int>(ymd.year()),
            static_cast<int>(static_cast<unsigned>(ymd.month())),
            static_cast<int>(static_cast<unsigned>(ymd.day())),
            static_cast<int>(time.hours().count()),
            static_cast<int>(time.minutes().count()),
            static_cast<int>(time.seconds().count())};
}

std::string isoDateTimeText(const CalendarFields& f) {
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", f.year, f.month, f.day,
                  f.hour, f.minute, f.second);
    return text;
}

std::string isoDateTimeText(DateTime when) {
    return isoDateTimeText(calendarFields(when));
}

std::string filterDayText(DateTime when) {
    return filterDateTimeText(when).substr(0, 10);
}

std::string filterDateTimeText(DateTime when) {
    const CalendarFields f = calendarFields(when);
    char text[64];
    std::snprintf(text, sizeof text, "%02d/%02d/%04d %02d:%02d", f.month, f.day, f.year, f.hour,
                  f.minute);
    return text;
}

} // namespace velmora::timekeeping
