// A date picker: value changes raise Change; the dump writes the value as an ISO date and time.
// Formatting is done by hand because the compiler's library has no std::format.
#include "platform/controls/DatePicker.h"

#include <cstdio>

namespace velmora::controls {

void DatePicker::setValue(DateTime value) {
    if (value == value_) return;
    value_ = value;
    Change.raise();
}

void DatePicker::pick(DateTime value) {
    requireUsable("pick in");
    setValue(value);
}

void DatePicker::describeState(std::ostream& out) const {
    const std::chrono::year_month_day ymd{day()};
    const std::chrono::hh_mm_ss time{value_ - day()};
    char text[96];
    std::snprintf(text, sizeof text, "%04d-%02u-%02u %02ld:%02ld:%02ld", int(ymd.year()),
                  unsigned(ymd.month()), unsigned(ymd.day()), long(time.hours().count()),
                  long(time.minutes().count()), long(time.seconds().count()));
    out << " value=" << quoted(text);
}

} // namespace velmora::controls
