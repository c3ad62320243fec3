// The open explorer windows of the in-memory host, oldest first.
#pragma once

#include "platform/host/ObjectModel.h"

#include <memory>
#include <vector>

namespace velmora::host {

class HostCore;
class InMemoryExplorer;

class InMemoryExplorers : public Explorers, public std::enable_shared_from_this<InMemoryExplorers> {
  public:
    explicit InMemoryExplorers(std::weak_ptr<HostCore> core) : core_(std::move(core)) {}
    int Count() const override;
    ExplorerPtr Item(int index) const override;

    std::shared_ptr<InMemoryExplorer> open(const FolderPtr& folder);
    const std::vector<std::shared_ptr<InMemoryExplorer>>& all() const { return list_; }

  private:
    std::shared_ptr<HostCore> use(const char* member) const;
    std::weak_ptr<HostCore> core_;
    std::vector<std::shared_ptr<InMemoryExplorer>> list_;
};

} // namespace velmora::host
