// The items of one in-memory folder, in the order they were stored, with Find/FindNext/Restrict
// over the host's filter texts and the folder's ItemAdd and ItemChange events.
#pragma once

#include "platform/host/FindCursor.h"
#include "platform/host/ObjectModel.h"

#include <memory>
#include <vector>

namespace velmora::host {

class HostCore;
class InMemoryFolder;
class InMemoryItem;

class InMemoryItems : public Items, public std::enable_shared_from_this<InMemoryItems> {
  public:
    InMemoryItems(std::weak_ptr<HostCore> core, std::weak_ptr<InMemoryFolder> folder, int itemType)
        : core_(std::move(core)), rawCore_(core_.lock().get()), folder_(std::move(folder)),
          itemType_(itemType) {}

    int Count() const override;
    ItemPtr Item(int index) const override;
    ItemPtr Find(const std::string& filter) override;
    ItemPtr FindNext() override;
    std::shared_ptr<host::Items> Restrict(const std::string& filter) const override;
    ItemPtr Add(int itemType) override;
    EventSource<ItemPtr>& ItemAdd() override { return itemAdd_; }
    EventSource<ItemPtr>& ItemChange() override { return itemChange_; }

    // Host side, without fault checks.
    const std::vector<std::shared_ptr<InMemoryItem>>& members() const { return members_; }
    void insert(const std::shared_ptr<InMemoryItem>& item);
    void remove(const InMemoryItem* item);
    // Counts every insertion, removal and save, so restricted views know when to look again.
    unsigned long version() const { return version_; }
    void touch() { ++version_; }
    int itemType() const { return itemType_; }
    std::shared_ptr<InMemoryFolder> folder() const { return folder_.lock(); }

  private:
    std::shared_ptr<HostCore> core() const;
    // Count and Item run once per walk step: they test that the host is still there without
    // taking a reference to it.
    HostCore& liveCore() const;
    // Tells the host's watcher, if any, which filter this folder was handed.
    void noteFilter(const std::string& filter) const;

    std::weak_ptr<HostCore> core_;
    HostCore* rawCore_; // valid while core_ has not expired
    std::weak_ptr<InMemoryFolder> folder_;
    int itemType_;
    std::vector<std::shared_ptr<InMemoryItem>> members_;
    unsigned long version_ = 0;
    FindCursor cursor_;
    EventSource<ItemPtr> itemAdd_;
    EventSource<ItemPtr> itemChange_;
};

} // namespace velmora::host
