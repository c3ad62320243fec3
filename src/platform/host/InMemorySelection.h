// The items selected in an in-memory explorer, in the order they were selected.
#pragma once

#include "platform/host/ObjectModel.h"

#include <functional>
#include <vector>

namespace velmora::host {

class InMemorySelection : public Selection {
  public:
    // check: the explorer's fault check, called with the member name.
    explicit InMemorySelection(std::function<void(const char*)> check) : check_(std::move(check)) {}

    int Count() const override {
        check_("Selection.Count");
        return static_cast<int>(items_.size());
    }
    ItemPtr Item(int index) const override {
        check_("Selection.Item");
        if (index < 1 || static_cast<std::size_t>(index) > items_.size())
            throw HostError("Array index out of bounds: selected item " + std::to_string(index) +
                            " of " + std::to_string(items_.size()));
        return items_[static_cast<std::size_t>(index - 1)];
    }

    std::vector<ItemPtr> items_;

  private:
    std::function<void(const char*)> check_;
};

} // namespace velmora::host
