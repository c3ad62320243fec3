// A folder of the in-memory host: a store's root, a default folder or a folder a caller added.
// It owns its subfolders and its Items collection; its parent is held weakly.
#pragma once

#include "platform/host/HostCore.h"
#include "platform/host/ObjectModel.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace velmora::host {

class HostCore;
class InMemoryItems;

class InMemoryFolder : public Folder {
  public:
    static std::shared_ptr<InMemoryFolder> create(const std::shared_ptr<HostCore>& core,
                                                  const std::string& name, int itemType,
                                                  const std::string& storeId,
                                                  const std::shared_ptr<InMemoryFolder>& parent);
    InMemoryFolder(std::weak_ptr<HostCore> core, std::string name, int itemType,
                   std::string storeId, std::string entryId, std::weak_ptr<InMemoryFolder> parent);

    std::shared_ptr<host::Items> Items() override;
    std::shared_ptr<Folder> Parent() const override;
    std::string Name() const override { return host_.get("Folder.Name", name_); }
    int DefaultItemType() const override { return host_.get("Folder.DefaultItemType", itemType_); }
    std::string StoreID() const override { return host_.get("Folder.StoreID", storeId_); }
    std::string EntryID() const override { return host_.get("Folder.EntryID", entryId_); }
    std::vector<std::shared_ptr<Folder>> Folders() const override;
    std::shared_ptr<Folder> AddFolder(const std::string& name, int itemType) override;
    std::shared_ptr<Explorer> GetExplorer() override;

    // Host side, without fault checks.
    const std::shared_ptr<InMemoryItems>& items() const { return items_; }
    const std::string& name() const { return name_; }
    void rename(std::string name) { name_ = std::move(name); }
    int itemType() const { return itemType_; }
    const std::string& storeId() const { return storeId_; }
    std::shared_ptr<InMemoryFolder> parentFolder() const { return parent_.lock(); }
    std::shared_ptr<InMemoryFolder> addChild(const std::string& name, int itemType);

  private:
    HostRef host_;
    std::string name_;
    int itemType_;
    std::string storeId_;
    std::string entryId_;
    std::weak_ptr<InMemoryFolder> parent_;
    std::vector<std::shared_ptr<InMemoryFolder>> children_;
    std::shared_ptr<InMemoryItems> items_;
};

} // namespace velmora::host
