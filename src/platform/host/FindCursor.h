// The state of a Find/FindNext walk over a list of items: the compiled filter and the last
// match. FindNext goes on after that match even when items were added or removed meanwhile.
#pragma once

#include "platform/host/FilterExpression.h"

#include <memory>
#include <vector>

namespace velmora::host {

class InMemoryItem;

class FindCursor {
  public:
    using List = std::vector<std::shared_ptr<InMemoryItem>>;

    std::shared_ptr<InMemoryItem> first(const List& items,
                                        std::shared_ptr<const FilterExpression> filter);
    // Raises HostError when no Find came first.
    std::shared_ptr<InMemoryItem> next(const List& items);

  private:
    std::shared_ptr<InMemoryItem> scan(const List& items, std::size_t from);

    std::shared_ptr<const FilterExpression> filter_;
    std::weak_ptr<InMemoryItem> last_;
    std::size_t lastIndex_ = 0;
    bool exhausted_ = false;
};

} // namespace velmora::host
