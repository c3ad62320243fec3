// The Items a Restrict returns.
// The match list is rebuilt lazily, only when the source's version moved since the last look.
#include "platform/host/RestrictedItems.h"

#include "platform/host/FilterParser.h"
#include "platform/host/HostCore.h"
#include "platform/host/InMemoryItem.h"
#include "platform/host/InMemoryItems.h"

namespace velmora::host {

std::shared_ptr<RestrictedItems>
RestrictedItems::create(std::weak_ptr<HostCore> core, std::shared_ptr<InMemoryItems> source,
                        std::shared_ptr<const FilterExpression> filter) {
    auto view = std::make_shared<RestrictedItems>(std::move(core), source, std::move(filter));
    std::weak_ptr<RestrictedItems> weak = view;
    view->onAdd_ = source->ItemAdd().subscribe([weak](ItemPtr item) {
        if (auto v = weak.lock(); v && v->passes(item)) v->itemAdd_.raise(item);
    });
    view->onChange_ = source->ItemChange().subscribe([weak](ItemPtr item) {
        if (auto v = weak.lock(); v && v->passes(item)) v->itemChange_.raise(item);
    });
    return view;
}

void RestrictedItems::check(const char* member) const {
    auto core = core_.lock();
    if (!core) throw HostError("The mail host has been shut down");
    core->check(member);
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

int RestrictedItems::Count() const {
    check("Items.Count");
    return static_cast<int>(current().size());
}

ItemPtr RestrictedItems::Item(int index) const {
    check("Items.Item");
    const auto& list = current();
    if (index < 1 || static_cast<std::size_t>(index) > list.size())
        throw HostError("Array index out of bounds: item " + std::to_string(index) + " of " +
                        std::to_string(list.size()));
    return list[static_cast<std::size_t>(index - 1)];
}

ItemPtr RestrictedItems::Find(const std::string& filter) {
    check("Items.Find");
    return cursor_.first(current(), FilterParser::parse(filter, source_->itemType()));
}

ItemPtr RestrictedItems::FindNext() {
    check("Items.FindNext");
    return cursor_.next(current());
}

std::shared_ptr<Items> RestrictedItems::Restrict(const std::string& filter) const {
    check("Items.Restrict");
    const auto more = FilterParser::parse(filter, source_->itemType());
    return create(core_, source_, FilterExpression::conjunction(*filter_, *more));
}

ItemPtr RestrictedItems::Add(int itemType) {
    return source_->Add(itemType);
}

} // namespace velmora::host
