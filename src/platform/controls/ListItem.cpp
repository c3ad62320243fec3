// One row of a list view: sub-item access, key changes through the list, selection rules.
// Selection goes through the owning list so that its current row and single-selection hold.
#include "platform/controls/ListItem.h"

#include "platform/controls/ControlError.h"
#include "platform/controls/ListView.h"

namespace velmora::controls {

namespace {
const std::string noText;
}

void ListItem::setKey(std::string key) {
    owner_->items_.rekey(*this, std::move(key));
}

void ListItem::setText(std::string text) {
    text_ = std::move(text);
    owner_->keepInOrder(*this, 0);
}

const std::string& ListItem::SubItems(int index) const {
    if (index < 1)
        throw ControlError("Invalid property array index: SubItems(" + std::to_string(index) + ")");
    if (index > subItemCount()) return noText;
    return subItems_[static_cast<std::size_t>(index - 1)];
}

void ListItem::setSubItems(int index, std::string text) {
    if (index < 1)
        throw ControlError("Invalid property array index: SubItems(" + std::to_string(index) + ")");
    if (index > subItemCount()) subItems_.resize(static_cast<std::size_t>(index));
    subItems_[static_cast<std::size_t>(index - 1)] = std::move(text);
    owner_->keepInOrder(*this, index);
}

const std::string& ListItem::columnText(int sortKey) const {
    return sortKey == 0 ? text_ : SubItems(sortKey);
}

void ListItem::setSelected(bool selected) {
    if (!selected) {
        selected_ = false;
        return;
    }
    if (!owner_->MultiSelect())
        for (ListItem* row : owner_->items_.rows())
            row->selected_ = false;
    selected_ = true;
    owner_->current_ = this;
}

} // namespace velmora::controls
