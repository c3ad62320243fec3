// A push button: caption, enabling, the Default and Cancel roles, and the Click event.
// click() is the user's press and is refused on a disabled or hidden button.
#pragma once

#include "platform/controls/Control.h"

namespace velmora::controls {

class CommandButton : public Control {
  public:
    using Control::Control;
    std::string kind() const override { return "CommandButton"; }

    bool Default() const { return default_; }
    void setDefault(bool value) { default_ = value; }
    bool Cancel() const { return cancel_; }
    void setCancel(bool value) { cancel_ = value; }

    host::EventSource<> Click;
    void click();

  protected:
    void keepDesign() override {
        Control::keepDesign();
        keep(default_, cancel_);
    }
    void describeState(std::ostream& out) const override;

  private:
    bool default_ = false;
    bool cancel_ = false;
};

} // namespace velmora::controls
