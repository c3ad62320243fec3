// The column headers of a list view: adding with a width check and 1-based access.
// A negative width usually means a layout computed from a list that was never sized.
#include "platform/controls/ColumnHeaderCollection.h"

#include "platform/controls/ControlError.h"

#include <utility>

namespace velmora::controls {

ColumnHeader& ColumnHeaderCollection::Add(std::string text, int width, int icon) {
    if (width < 0)
        throw ControlError("Invalid property value: column width " + std::to_string(width) +
                           " for \"" + text + "\"");
    columns_.push_back(ColumnHeader{Count() + 1, std::move(text), width, icon});
    return columns_.back();
}

const ColumnHeader& ColumnHeaderCollection::Item(int index) const {
    if (index < 1 || index > Count())
        throw ControlError("Index out of bounds: column " + std::to_string(index));
    return columns_[static_cast<std::size_t>(index - 1)];
}

ColumnHeader& ColumnHeaderCollection::Item(int index) {
    return const_cast<ColumnHeader&>(std::as_const(*this).Item(index));
}

} // namespace velmora::controls
