// A date picker: value changes raise Change; the dump writes the value as an ISO date and time.
// The value is written in the same date form as the store and the host write dates.
#include "platform/controls/DatePicker.h"

#include "platform/clock/CalendarText.h"

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
    out << " value=" << quoted(timekeeping::isoDateTimeText(value_));
}

} // namespace velmora::controls
