// The items of one in-memory folder.
#include "platform/host/InMemoryItems.h"

#include "platform/host/FilterParser.h"
#include "platform/host/HostCore.h"
#include "platform/host/InMemoryFolder.h"
#include "platform/host/InMemoryItem.h"
#include "platform/host/RestrictedItems.h"

#include <algorithm>

namespace velmora::host {

std::shared_ptr<HostCore> InMemoryItems::core() const {
    auto core = core_.lock();
    if (!core) throw HostError("The mail host has been shut down");
    return core;
}

HostCore& InMemoryItems::liveCore() const {
    if (core_.expired()) throw HostError("The mail host has been shut down");
    return *rawCore_;
}

int InMemoryItems::Count() const {
    liveCore().check("Items.Count");
    return static_cast<int>(members_.size());
}

ItemPtr InMemoryItems::Item(int index) const {
    liveCore().check("Items.Item");
    if (index < 1 || static_cast<std::size_t>(index) > members_.size())
        throw HostError("Array index out of bounds: item " + std::to_string(index) + " of " +
                        std::to_string(members_.size()));
    return members_[static_cast<std::size_t>(index - 1)];
}

void InMemoryItems::noteFilter(const std::string& filter) const {
    const HostCore& c = liveCore();
    if (!c.watchFilter) return;
    const auto folder = folder_.lock();
    c.watchFilter(folder ? folder->Name() : std::string(), filter);
}

ItemPtr InMemoryItems::Find(const std::string& filter) {
    core()->check("Items.Find");
    noteFilter(filter);
    return cursor_.first(members_, FilterParser::parse(filter, itemType_));
}

ItemPtr InMemoryItems::FindNext() {
    core()->check("Items.FindNext");
    return cursor_.next(members_);
}

std::shared_ptr<Items> InMemoryItems::Restrict(const std::string& filter) const {
    core()->check("Items.Restrict");
    noteFilter(filter);
    auto filterExpr = FilterParser::parse(filter, itemType_);
    return RestrictedItems::create(
        core_, std::const_pointer_cast<InMemoryItems>(shared_from_this()), std::move(filterExpr));
}

ItemPtr InMemoryItems::Add(int itemType) {
    auto c = core();
    c->check("Items.Add");
    if (itemType < olMailItem || itemType > olPostItem)
        throw HostError("Items.Add: " + std::to_string(itemType) + " is not an item type (0 to 6)");
    auto folder = folder_.lock();
    if (!folder) throw HostError("The folder of these items no longer exists");
    return InMemoryItem::create(c, itemType, folder);
}

void InMemoryItems::insert(const std::shared_ptr<InMemoryItem>& item) {
    members_.push_back(item);
    ++version_;
}

void InMemoryItems::remove(const InMemoryItem* item) {
    const auto it = std::find_if(members_.begin(), members_.end(),
                                 [item](const auto& m) { return m.get() == item; });
    if (it != members_.end()) {
        members_.erase(it);
        ++version_;
    }
}

} // namespace velmora::host
