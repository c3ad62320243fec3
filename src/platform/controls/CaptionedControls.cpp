// The buttons: what a click does to each and the text dump of their state.
// Check box values other than 0 and 1 are refused; the add-in never uses the greyed state.
#include "platform/controls/CaptionedControls.h"

#include "platform/controls/ControlError.h"
#include "platform/controls/Form.h"

#include <utility>

namespace velmora::controls {

void ClickableControl::click() {
    requireUsable("click");
    press();
}

CommandButton::CommandButton(std::string name, int index)
    : ClickableControl(std::move(name), index) {
    designed(default_, cancel_);
}

void CommandButton::describeState(std::ostream& out) const {
    out << " default=" << default_ << " cancel=" << cancel_;
}

CheckBox::CheckBox(std::string name, int index) : ClickableControl(std::move(name), index) {
    designed(value_);
}

void CheckBox::setValue(int value) {
    if (value != vbUnchecked && value != vbChecked)
        throw ControlError("Invalid property value: Value " + std::to_string(value) + " of " +
                           displayName());
    if (value == value_) return;
    value_ = value;
    Click.raise();
}

void CheckBox::press() {
    setValue(value_ == vbChecked ? vbUnchecked : vbChecked);
}

void CheckBox::describeState(std::ostream& out) const {
    out << " value=" << value_;
}

OptionButton::OptionButton(std::string name, int index) : ClickableControl(std::move(name), index) {
    designed(group_, value_);
}

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

void OptionButton::press() {
    if (!value_) {
        value_ = true;
        clearGroup();
    }
    Click.raise();
}

// A button that belongs to no form has no group partners.
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
