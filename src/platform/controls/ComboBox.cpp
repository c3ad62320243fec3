// A combo box: entries, chosen index and text kept consistent, with Click and Change.
// Out-of-range indexes are refused with the control's own wording.
#include "platform/controls/ComboBox.h"

#include "platform/controls/ControlError.h"

#include <algorithm>
#include <utility>

namespace velmora::controls {

void ComboBox::checkIndex(int index) const {
    if (index < 0 || index >= ListCount())
        throw ControlError("Invalid property array index " + std::to_string(index) + " of " +
                           displayName());
}

void ComboBox::AddItem(std::string entry, int index) {
    if (index == -1) {
        entries_.push_back(std::move(entry));
        return;
    }
    if (index < 0 || index > ListCount())
        throw ControlError("Invalid argument: AddItem index " + std::to_string(index) + " of " +
                           displayName());
    entries_.insert(entries_.begin() + index, std::move(entry));
    if (listIndex_ >= index) ++listIndex_;
}

void ComboBox::RemoveItem(int index) {
    checkIndex(index);
    entries_.erase(entries_.begin() + index);
    if (listIndex_ == index)
        listIndex_ = -1;
    else if (listIndex_ > index)
        --listIndex_;
}

void ComboBox::Clear() {
    entries_.clear();
    listIndex_ = -1;
    text_.clear();
}

const std::string& ComboBox::List(int index) const {
    checkIndex(index);
    return entries_[static_cast<std::size_t>(index)];
}

void ComboBox::setListIndex(int index) {
    if (index != -1) checkIndex(index);
    if (index == listIndex_) return;
    listIndex_ = index;
    if (index != -1) text_ = entries_[static_cast<std::size_t>(index)];
    Click.raise();
}

void ComboBox::setText(std::string text) {
    if (text == text_) return;
    text_ = std::move(text);
    auto found = std::find(entries_.begin(), entries_.end(), text_);
    listIndex_ = found == entries_.end() ? -1 : static_cast<int>(found - entries_.begin());
    Change.raise();
}

void ComboBox::choose(int index) {
    requireUsable("choose in");
    setListIndex(index);
}

void ComboBox::type(std::string text) {
    requireUsable("type into");
    setText(std::move(text));
}

void ComboBox::describeState(std::ostream& out) const {
    out << " listIndex=" << listIndex_ << " text=" << quoted(text_) << " entries=" << ListCount();
}

void ComboBox::describeDetails(std::ostream& out) const {
    for (std::size_t i = 0; i < entries_.size(); ++i)
        out << "\n  entry " << i << ' ' << quoted(entries_[i]);
}

} // namespace velmora::controls
