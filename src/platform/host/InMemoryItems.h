// The items of one in-memory folder, in the order they were stored, and the views Restrict makes
// of them: Find/FindNext/Restrict over the host's filter texts, ItemAdd and ItemChange events.
#pragma once

#include "platform/host/FilterExpression.h"
#include "platform/host/HostCore.h"
#include "platform/host/ObjectModel.h"

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace velmora::host {

class InMemoryFolder;
class InMemoryItem;

using ItemList = std::vector<std::shared_ptr<InMemoryItem>>;

// The state of a Find/FindNext walk over a list of items: the compiled filter and the last
// match. FindNext goes on after that match even when items were added or removed meanwhile.
class FindCursor {
  public:
    std::shared_ptr<InMemoryItem> first(const ItemList& items,
                                        std::shared_ptr<const FilterExpression> filter);
    // Raises HostError when no Find came first.
    std::shared_ptr<InMemoryItem> next(const ItemList& items);

  private:
    std::shared_ptr<InMemoryItem> scan(const ItemList& items, std::size_t from);

    std::shared_ptr<const FilterExpression> filter_;
    std::weak_ptr<InMemoryItem> last_;
    std::size_t lastIndex_ = 0;
    bool exhausted_ = false;
};

// What a folder's items and a restricted view share: indexing, Find/FindNext and the events,
// over the list current() answers.
class ItemsOverList : public Items {
  public:
    int Count() const override;
    ItemPtr Item(int index) const override;
    ItemPtr Find(const std::string& filter) override;
    ItemPtr FindNext() override;
    EventSource<ItemPtr>& ItemAdd() override { return itemAdd_; }
    EventSource<ItemPtr>& ItemChange() override { return itemChange_; }

    virtual int itemType() const = 0;

  protected:
    explicit ItemsOverList(std::weak_ptr<HostCore> core) : host_(std::move(core)) {}
    virtual const ItemList& current() const = 0;
    // Called with each filter handed to Find, before it is parsed.
    virtual void noteFilter(const std::string& /*filter*/) const {}

    HostRef host_;
    EventSource<ItemPtr> itemAdd_;
    EventSource<ItemPtr> itemChange_;

  private:
    FindCursor cursor_;
};

class InMemoryItems : public ItemsOverList, public std::enable_shared_from_this<InMemoryItems> {
  public:
    InMemoryItems(std::weak_ptr<HostCore> core, std::weak_ptr<InMemoryFolder> folder, int itemType)
        : ItemsOverList(std::move(core)), folder_(std::move(folder)), itemType_(itemType) {}

    std::shared_ptr<host::Items> Restrict(const std::string& filter) const override;
    ItemPtr Add(int itemType) override;

    // Host side, without fault checks.
    const ItemList& members() const {
        loadPending();
        return members_;
    }
    // A folder kept elsewhere (a mailbox folder) reads its items the first time they are asked
    // for: the loader runs once, before any member is read or changed.
    void loadWith(std::function<void()> loader) { loader_ = std::move(loader); }
    void insert(const std::shared_ptr<InMemoryItem>& item);
    void remove(const InMemoryItem* item);
    // Counts every insertion, removal and save, so restricted views know when to look again.
    unsigned long version() const { return version_; }
    void touch() { ++version_; }
    int itemType() const override { return itemType_; }
    std::shared_ptr<InMemoryFolder> folder() const { return folder_.lock(); }

  private:
    const ItemList& current() const override { return members(); }
    void loadPending() const {
        if (!loader_) return;
        const auto load = std::exchange(loader_, nullptr);
        load();
    }
    // Tells the host's watcher, if any, which filter this folder was handed.
    void noteFilter(const std::string& filter) const override;

    std::weak_ptr<InMemoryFolder> folder_;
    int itemType_;
    ItemList members_;
    unsigned long version_ = 0;
    mutable std::function<void()> loader_;
};

// The Items a Restrict returns: the source collection's items that pass a filter, looked up
// again whenever the source changed, with ItemAdd/ItemChange passed on for matching items.
class RestrictedItems : public ItemsOverList {
  public:
    static std::shared_ptr<RestrictedItems> create(std::weak_ptr<HostCore> core,
                                                   const std::shared_ptr<InMemoryItems>& source,
                                                   std::shared_ptr<const FilterExpression> filter);
    RestrictedItems(std::weak_ptr<HostCore> core, std::shared_ptr<InMemoryItems> source,
                    std::shared_ptr<const FilterExpression> filter)
        : ItemsOverList(std::move(core)), source_(std::move(source)), filter_(std::move(filter)) {}

    std::shared_ptr<host::Items> Restrict(const std::string& filter) const override;
    ItemPtr Add(int itemType) override;
    int itemType() const override { return source_->itemType(); }

  private:
    const ItemList& current() const override;
    bool passes(const ItemPtr& item) const;

    std::shared_ptr<InMemoryItems> source_;
    std::shared_ptr<const FilterExpression> filter_;
    mutable ItemList matches_;
    mutable unsigned long seenVersion_ = 0;
    mutable bool fresh_ = false;
    Subscription onAdd_, onChange_;
};

} // namespace velmora::host
