// A one-line text box: text changes raise Change.
// Setting the same text again raises nothing, as with the real control.
#include "platform/controls/TextBox.h"

#include <utility>

namespace velmora::controls {

void TextBox::setText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    Change.raise();
}

void TextBox::type(std::string text) {
    requireUsable("type into");
    setText(std::move(text));
}

void TextBox::describeState(std::ostream& out) const {
    out << " text=" << quoted(text_);
}

} // namespace velmora::controls
