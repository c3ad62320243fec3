// A captioned container; the dialogs switch between their Chinese and English layouts by showing
// one frame and hiding the other. Membership is by naming only: a frame does not own controls.
#pragma once

#include "platform/controls/Control.h"

namespace velmora::controls {

class Frame : public Control {
  public:
    using Control::Control;
    std::string kind() const override { return "Frame"; }
};

} // namespace velmora::controls
