// An explorer window of the in-memory host: the folder in view, the selection, the shared
// explorer command bars, and the Close, FolderSwitch and SelectionChange events.
#pragma once

#include "platform/host/InMemorySelection.h"
#include "platform/host/ObjectModel.h"

#include <functional>
#include <memory>

namespace velmora::host {

class HostCore;
class InMemoryCommandBars;

class InMemoryExplorer : public Explorer, public std::enable_shared_from_this<InMemoryExplorer> {
  public:
    // onClose: the collection's way to forget the explorer.
    InMemoryExplorer(std::weak_ptr<HostCore> core, FolderPtr folder,
                     std::function<void(InMemoryExplorer*)> onClose);

    FolderPtr CurrentFolder() const override;
    void SetCurrentFolder(const FolderPtr& folder) override;
    const host::Selection& Selection() const override;
    void Select(const std::vector<ItemPtr>& items) override;
    host::CommandBars& CommandBars() override;
    void Close() override;
    EventSource<>& CloseEvent() override { return close_; }
    EventSource<>& FolderSwitch() override { return folderSwitch_; }
    EventSource<>& SelectionChange() override { return selectionChange_; }

    bool closed() const { return closed_; }

  private:
    std::shared_ptr<HostCore> use(const char* member) const;
    void open(const char* member) const;

    std::weak_ptr<HostCore> core_;
    FolderPtr folder_;
    InMemorySelection selection_;
    std::function<void(InMemoryExplorer*)> onClose_;
    bool closed_ = false;
    EventSource<> close_, folderSwitch_, selectionChange_;
};

} // namespace velmora::host
