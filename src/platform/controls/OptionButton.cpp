// An option button: choosing it clears the other buttons of its group on its form.
// A button that belongs to no form has no group partners.
#include "platform/controls/OptionButton.h"

#include "platform/controls/Form.h"

#include <utility>

namespace velmora::controls {

void OptionButton::setGroup(std::string group) {
    group_ = std::move(group);
    if (value_) clearGroup();
}

void OptionButton::setValue(bool value) {
    if (value == value_) return;
    value_ = value;
    if (value) {
        clearGroup();
        Click.raise();
    }
}

void OptionButton::click() {
    requireUsable("click");
    if (!value_) {
        value_ = true;
        clearGroup();
    }
    Click.raise();
}

void OptionButton::clearGroup() {
    if (!parent()) return;
    for (Control* control : parent()->controls()) {
        auto* other = dynamic_cast<OptionButton*>(control);
        if (other && other != this && other->group_ == group_) other->value_ = false;
    }
}

void OptionButton::describeState(std::ostream& out) const {
    out << " group=" << quoted(group_) << " value=" << value_;
}

} // namespace velmora::controls
