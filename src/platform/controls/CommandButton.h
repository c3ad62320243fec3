// A push button: caption, enabling, the Default and Cancel roles, and the Click event.
// click() is the user's press and is refused on a disabled or hidden button.
#pragma once

#include "platform/controls/Control.h"

namespace velmora::controls {

class CommandButton : public Control {
  public:
    explicit CommandButton(std::string name, int index = -1) : Control(std::move(name), index) {
        designed(default_, cancel_);
    }
    std::string kind() const override { return "CommandButton"; }

    bool Default() const { return default_; }
    void setDefault(bool value) { default_ = value; }
    bool Cancel() const { return cancel_; }
    void setCancel(bool value) { cancel_ = value; }

    host::EventSource<> Click;
    void click();

  protected:
    void describeState(std::ostream& out) const override;

  private:
    bool default_ = false;
    bool cancel_ = false;
};

} // namespace velmora::controls
