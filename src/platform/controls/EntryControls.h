// The controls the user types or picks a value into: the one-line text box and the date picker.
// Both raise Change whenever the value changes, by code or by the user, and have no caption.
#pragma once

#include "platform/controls/Control.h"

#include <chrono>
#include <string>
#include <string_view>
#include <utility>

namespace velmora::controls {

// Same type as host::DateTime, so values pass between host items and pickers unchanged.
using DateTime = std::chrono::sys_seconds;

// Holds one value and raises Change when it differs from the one held. A Change handler may put
// a value back; the nested Change it causes is raised like any other.
template <typename Value> class EntryControl : public Control {
  public:
    explicit EntryControl(std::string name, int index = -1) : Control(std::move(name), index) {
        designed(value_);
    }
    bool hasCaption() const override { return false; }

    host::EventSource<> Change;

  protected:
    void change(Value value) {
        if (value == value_) return;
        value_ = std::move(value);
        Change.raise();
    }
    // The user's entry (action names it in the refusal): refused on a disabled or hidden control.
    void enter(std::string_view action, Value value) {
        requireUsable(action);
        change(std::move(value));
    }

    Value value_{};
};

class TextBox : public EntryControl<std::string> {
  public:
    using EntryControl::EntryControl;
    std::string kind() const override { return "TextBox"; }

    const std::string& Text() const { return value_; }
    void setText(std::string text) { change(std::move(text)); }
    void type(std::string text) { enter("type into", std::move(text)); }

  protected:
    void describeState(std::ostream& out) const override;
};

// The quick-appointment tab reads only the picker's day; the time part is kept as set.
class DatePicker : public EntryControl<DateTime> {
  public:
    using EntryControl::EntryControl;
    std::string kind() const override { return "DatePicker"; }

    DateTime Value() const { return value_; }
    std::chrono::sys_days day() const { return std::chrono::floor<std::chrono::days>(value_); }
    // A sys_days argument converts to midnight of that day.
    void setValue(DateTime value) { change(value); }
    void pick(DateTime value) { enter("pick in", value); }

  protected:
    // The value is written in the same date form as the store and the host write dates.
    void describeState(std::ostream& out) const override;
};

} // namespace velmora::controls
