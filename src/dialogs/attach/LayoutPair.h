// One option of the attach-mail dialog in both language layouts (name and name1): only the
// visible twin counts, and a disabled option is also unticked.
#pragma once

#include "platform/controls/Control.h"
#include "platform/controls/Form.h"

#include <string>

namespace velmora::dialogs {

class LayoutPair {
  public:
    // The twins name and name + "1" of the form's design.
    LayoutPair(const controls::Form& form, const std::string& name);

    void showLayout(bool chinese);
    bool ticked(bool chinese) const;
    // A label is shown or hidden; any other control enabled or disabled, and unticked when
    // disabled, so that a value the user cannot see never reaches the engine.
    void setOption(bool chinese, bool enabled);
    // Ticks or unticks the visible twin when it is enabled.
    void tick(bool chinese, bool on);

  private:
    controls::Control& visible(bool chinese) const { return chinese ? chinese_ : english_; }

    controls::Control& chinese_;
    controls::Control& english_;
};

} // namespace velmora::dialogs
