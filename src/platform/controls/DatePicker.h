// A date picker holding a date and time (the host's DateTime type) with the Change event.
// The quick-appointment tab reads only its day; the time part is kept as set.
#pragma once

#include "platform/controls/Control.h"

#include <chrono>

namespace velmora::controls {

// Same type as host::DateTime, so values pass between host items and pickers unchanged.
using DateTime = std::chrono::sys_seconds;

class DatePicker : public Control {
  public:
    explicit DatePicker(std::string name, int index = -1) : Control(std::move(name), index) {
        designed(value_);
    }
    std::string kind() const override { return "DatePicker"; }
    bool hasCaption() const override { return false; }

    DateTime Value() const { return value_; }
    std::chrono::sys_days day() const { return std::chrono::floor<std::chrono::days>(value_); }
    // A sys_days argument converts to midnight of that day. Raises Change when the value differs.
    void setValue(DateTime value);
    // The user's pick: refused on a disabled or hidden picker.
    void pick(DateTime value);

    host::EventSource<> Change;

  protected:
    void describeState(std::ostream& out) const override;

  private:
    DateTime value_{};
};

} // namespace velmora::controls
