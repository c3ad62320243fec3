// The Items a Restrict returns: the source collection's items that pass a filter, looked up
// again whenever the source changed, with ItemAdd/ItemChange passed on for matching items.
#pragma once

#include "platform/host/FilterExpression.h"
#include "platform/host/FindCursor.h"
#include "platform/host/ObjectModel.h"

#include <memory>
#include <vector>

namespace velmora::host {

class HostCore;
class InMemoryItems;
class InMemoryItem;

class RestrictedItems : public Items, public std::enable_shared_from_this<RestrictedItems> {
  public:
    static std::shared_ptr<RestrictedItems> create(std::weak_ptr<HostCore> core,
                                                   std::shared_ptr<InMemoryItems> source,
                                                   std::shared_ptr<const FilterExpression> filter);
    RestrictedItems(std::weak_ptr<HostCore> core, std::shared_ptr<InMemoryItems> source,
                    std::shared_ptr<const FilterExpression> filter)
        : core_(std::move(core)), source_(std::move(source)), filter_(std::move(filter)) {}

    int Count() const override;
    ItemPtr Item(int index) const override;
    ItemPtr Find(const std::string& filter) override;
    ItemPtr FindNext() override;
    std::shared_ptr<host::Items> Restrict(const std::string& filter) const override;
    ItemPtr Add(int itemType) override;
    EventSource<ItemPtr>& ItemAdd() override { return itemAdd_; }
    EventSource<ItemPtr>& ItemChange() override { return itemChange_; }

  private:
    void check(const char* member) const;
    const std::vector<std::shared_ptr<InMemoryItem>>& current() const;
    bool passes(const ItemPtr& item) const;

    std::weak_ptr<HostCore> core_;
    std::shared_ptr<InMemoryItems> source_;
    std::shared_ptr<const FilterExpression> filter_;
    mutable std::vector<std::shared_ptr<InMemoryItem>> matches_;
    mutable unsigned long seenVersion_ = 0;
    mutable bool fresh_ = false;
    FindCursor cursor_;
    EventSource<ItemPtr> itemAdd_;
    EventSource<ItemPtr> itemChange_;
    Subscription onAdd_, onChange_;
};

} // namespace velmora::host
