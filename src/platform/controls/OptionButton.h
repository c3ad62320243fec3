// An option button: one of a group of which at most one is chosen. Setting one clears the others
// of the same group on the same form; buttons of a form without a group name form one group.
#pragma once

#include "platform/controls/Control.h"

#include <string>

namespace velmora::controls {

class OptionButton : public Control {
  public:
    explicit OptionButton(std::string name, int index = -1) : Control(std::move(name), index) {
        designed(group_, value_);
    }
    std::string kind() const override { return "OptionButton"; }

    const std::string& Group() const { return group_; }
    void setGroup(std::string group);

    bool Value() const { return value_; }
    // Choosing raises Click on this button; clearing (directly or through the group) raises none.
    void setValue(bool value);

    host::EventSource<> Click;
    // The user's click: chooses this button and raises Click even when it was chosen already.
    void click();

  protected:
    void describeState(std::ostream& out) const override;

  private:
    void clearGroup();
    std::string group_;
    bool value_ = false;
};

} // namespace velmora::controls
