// A push button: the user's press and the text dump of its roles.
// Pressing is refused when the user could not reach the button.
#include "platform/controls/CommandButton.h"

namespace velmora::controls {

void CommandButton::click() {
    requireUsable("click");
    Click.raise();
}

void CommandButton::describeState(std::ostream& out) const {
    out << " default=" << default_ << " cancel=" << cancel_;
}

} // namespace velmora::controls
