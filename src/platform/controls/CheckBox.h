// A check box with Value 0 (clear) or 1 (ticked) and the Click event.
// Click is raised when the value changes, by the user or by code, as the real control does.
#pragma once

#include "platform/controls/Control.h"

namespace velmora::controls {

inline constexpr int vbUnchecked = 0;
inline constexpr int vbChecked = 1;

class CheckBox : public Control {
  public:
    explicit CheckBox(std::string name, int index = -1) : Control(std::move(name), index) {
        designed(value_);
    }
    std::string kind() const override { return "CheckBox"; }

    int Value() const { return value_; }
    bool checked() const { return value_ == vbChecked; }
    void setValue(int value);

    host::EventSource<> Click;
    // The user's click: toggles the tick.
    void click();

  protected:
    void describeState(std::ostream& out) const override;

  private:
    int value_ = vbUnchecked;
};

} // namespace velmora::controls
