// The items of one in-memory folder and the views Restrict makes of them.
// A view's match list is rebuilt lazily, only when the source's version moved since the last look.
#include "platform/host/InMemoryItems.h"

#include "platform/host/FilterExpression.h"
#include "platform/host/InMemoryFolder.h"
#include "platform/host/InMemoryItem.h"

#include <algorithm>

namespace velmora::host {

std::shared_ptr<InMemoryItem> FindCursor::first(const ItemList& items,
                                                std::shared_ptr<const FilterExpression> filter) {
    filter_ = std::move(filter);
    last_.reset();
    exhausted_ = false;
    return scan(items, 0);
}

std::shared_ptr<InMemoryItem> FindCursor::next(const ItemList& items) {
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

std::shared_ptr<InMemoryItem> FindCursor::scan(const ItemList& items, std::size_t from) {
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

int ItemsOverList::Count() const {
    host_.live("Items.Count");
    return static_cast<int>(current().size());
}

ItemPtr ItemsOverList::Item(int index) const {
    host_.live("Items.Item");
    const auto& list = current();
    const auto at = static_cast<std::size_t>(index - 1);
    if (index < 1 || at >= list.size())
        throw HostError("Array index out of bounds: item " + std::to_string(index) + " of " +
                        std::to_string(list.size()));
    // Walks go by rising index, and an item's values lie in a heap block of their own: ask for
    // the next item's values now, and for the one after it, whose values address is read then.
    if (at + 1 < list.size()) list[at + 1]->prefetch();
    if (at + 2 < list.size()) __builtin_prefetch(list[at + 2].get());
    return list[at];
}

ItemPtr ItemsOverList::Find(const std::string& filter) {
    host_.use("Items.Find");
    noteFilter(filter);
    auto parsed = FilterParser::parse(filter, itemType());
    return cursor_.first(current(), std::move(parsed));
}

ItemPtr ItemsOverList::FindNext() {
    host_.use("Items.FindNext");
    return cursor_.next(current());
}

void InMemoryItems::noteFilter(const std::string& filter) const {
    const auto c = host_.lock();
    if (!c->watchFilter) return;
    const auto folder = folder_.lock();
    c->watchFilter(folder ? folder->Name() : std::string(), filter);
}

std::shared_ptr<Items> InMemoryItems::Restrict(const std::string& filter) const {
    host_.use("Items.Restrict");
    noteFilter(filter);
    auto filterExpr = FilterParser::parse(filter, itemType_);
    return RestrictedItems::create(host_.weak(),
                                   std::const_pointer_cast<InMemoryItems>(shared_from_this()),
                                   std::move(filterExpr));
}

ItemPtr InMemoryItems::Add(int itemType) {
    auto c = host_.use("Items.Add");
    if (itemType < olMailItem || itemType > olPostItem)
        throw HostError("Items.Add: " + std::to_string(itemType) + " is not an item type (0 to 6)");
    auto folder = folder_.lock();
    if (!folder) throw HostError("The folder of these items no longer exists");
    return InMemoryItem::create(c, itemType, folder);
}

void InMemoryItems::insert(const std::shared_ptr<InMemoryItem>& item) {
    loadPending();
    members_.push_back(item);
    ++version_;
}

void InMemoryItems::remove(const InMemoryItem* item) {
    loadPending();
    const auto it = std::find_if(members_.begin(), members_.end(),
                                 [item](const auto& m) { return m.get() == item; });
    if (it != members_.end()) {
        members_.erase(it);
        ++version_;
    }
}

std::shared_ptr<RestrictedItems>
RestrictedItems::create(std::weak_ptr<HostCore> core, const std::shared_ptr<InMemoryItems>& source,
                        std::shared_ptr<const FilterExpression> filter) {
    auto view = std::make_shared<RestrictedItems>(std::move(core), source, std::move(filter));
    std::weak_ptr<RestrictedItems> weak = view;
    view->onAdd_ = source->ItemAdd().subscribe([weak](const ItemPtr& item) {
        if (auto v = weak.lock(); v && v->passes(item)) v->itemAdd_.raise(item);
    });
    view->onChange_ = source->ItemChange().subscribe([weak](const ItemPtr& item) {
        if (auto v = weak.lock(); v && v->passes(item)) v->itemChange_.raise(item);
    });
    return view;
}

bool RestrictedItems::passes(const ItemPtr& item) const {
    const auto* mine = dynamic_cast<const InMemoryItem*>(item.get());
    return mine && filter_->matches(*mine);
}

const std::vector<std::shared_ptr<InMemoryItem>>& RestrictedItems::current() const {
    if (!fresh_ || seenVersion_ != source_->version()) {
        matches_.clear();
        for (const auto& item : source_->members())
            if (filter_->matches(*item)) matches_.push_back(item);
        seenVersion_ = source_->version();
        fresh_ = true;
    }
    return matches_;
}

std::shared_ptr<Items> RestrictedItems::Restrict(const std::string& filter) const {
    host_.use("Items.Restrict");
    const auto more = FilterParser::parse(filter, source_->itemType());
    return create(host_.weak(), source_, FilterExpression::conjunction(*filter_, *more));
}

ItemPtr RestrictedItems::Add(int itemType) {
    return source_->Add(itemType);
}

} // namespace velmora::host
