// The "MAPI" namespace of the in-memory host: default folders, item lookup by entry ID and the
// stores' root folders.
#pragma once

#include "platform/host/ObjectModel.h"

#include <memory>

namespace velmora::host {

class HostCore;

class InMemoryNameSpace : public NameSpace {
  public:
    explicit InMemoryNameSpace(std::weak_ptr<HostCore> core) : core_(std::move(core)) {}
    FolderPtr GetDefaultFolder(int folderType) override;
    ItemPtr GetItemFromID(const std::string& entryId, const std::string& storeId = "") override;
    std::vector<FolderPtr> Folders() const override;

  private:
    std::shared_ptr<HostCore> use(const char* member) const;
    std::weak_ptr<HostCore> core_;
};

} // namespace velmora::host
