// A caption shown on a form: the done labels, list titles and summaries of the dialogs.
// Only its caption and visibility matter to the add-in.
#pragma once

#include "platform/controls/Control.h"

namespace velmora::controls {

class Label : public Control {
  public:
    using Control::Control;
    std::string kind() const override { return "Label"; }
};

} // namespace velmora::controls
