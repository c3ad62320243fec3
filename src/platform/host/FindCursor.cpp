// The state of a Find/FindNext walk.
#include "platform/host/FindCursor.h"

#include "platform/host/InMemoryItem.h"

namespace velmora::host {

std::shared_ptr<InMemoryItem> FindCursor::first(const List& items,
                                                std::shared_ptr<const FilterExpression> filter) {
    filter_ = std::move(filter);
    last_.reset();
    exhausted_ = false;
    return scan(items, 0);
}

std::shared_ptr<InMemoryItem> FindCursor::next(const List& items) {
    if (!filter_) throw HostError("FindNext was called without a Find before it");
    if (exhausted_) return nullptr;
    std::size_t from = lastIndex_;
    // The last match may have moved when items came or went; look for it where it is now.
    const auto last = last_.lock();
    if (last && lastIndex_ < items.size() && items[lastIndex_] == last) {
        from = lastIndex_ + 1;
    } else if (last) {
        for (std::size_t i = 0; i < items.size(); ++i)
            if (items[i] == last) {
                from = i + 1;
                break;
            }
    }
    return scan(items, from);
}

std::shared_ptr<InMemoryItem> FindCursor::scan(const List& items, std::size_t from) {
    for (std::size_t i = from; i < items.size(); ++i) {
        if (filter_->matches(*items[i])) {
            last_ = items[i];
            lastIndex_ = i;
            return items[i];
        }
    }
    exhausted_ = true;
    last_.reset();
    return nullptr;
}

} // namespace velmora::host
