// The text dumps of the entry controls: the text quoted, the date as an ISO date and time.
// Dates are written in the same form as the store and the host write them.
#include "platform/controls/EntryControls.h"

#include "platform/clock/CalendarText.h"

namespace velmora::controls {

void TextBox::describeState(std::ostream& out) const {
    out << " text=" << quoted(value_);
}

void DatePicker::describeState(std::ostream& out) const {
    out << " value=" << quoted(timekeeping::isoDateTimeText(value_));
}

} // namespace velmora::controls
