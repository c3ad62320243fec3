// A check box: value changes raise Click, whoever makes them.
// Values other than 0 and 1 are refused; the add-in never uses the greyed state.
#include "platform/controls/CheckBox.h"

#include "platform/controls/ControlError.h"

namespace velmora::controls {

void CheckBox::setValue(int value) {
    if (value != vbUnchecked && value != vbChecked)
        throw ControlError("Invalid property value: Value " + std::to_string(value) + " of " +
                           displayName());
    if (value == value_) return;
    value_ = value;
    Click.raise();
}

void CheckBox::click() {
    requireUsable("click");
    setValue(value_ == vbChecked ? vbUnchecked : vbChecked);
}

void CheckBox::describeState(std::ostream& out) const {
    out << " value=" << value_;
}

} // namespace velmora::controls
