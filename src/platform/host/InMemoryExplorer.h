// The explorer windows of the in-memory host: one window (the folder in view, the selection,
// the shared explorer command bars, the Close, FolderSwitch and SelectionChange events) and
// the collection of open ones, oldest first.
#pragma once

#include "platform/host/InMemoryCollection.h"
#include "platform/host/ObjectModel.h"

#include <functional>
#include <memory>
#include <vector>

namespace velmora::host {

// The items selected in an explorer, in the order they were selected.
class InMemorySelection : public InMemoryCollection<Selection, ItemPtr> {
  public:
    explicit InMemorySelection(const std::weak_ptr<HostCore>& core)
        : InMemoryCollection(core, "Selection", "selected item") {}
    void assign(const std::vector<ItemPtr>& items) { list_ = items; }
};

class InMemoryExplorer : public Explorer, public std::enable_shared_from_this<InMemoryExplorer> {
  public:
    // onClose: the collection's way to forget the explorer.
    InMemoryExplorer(const std::weak_ptr<HostCore>& core, FolderPtr folder,
                     std::function<void(InMemoryExplorer*)> onClose)
        : host_(core), folder_(std::move(folder)), selection_(core), onClose_(std::move(onClose)) {}

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
    void open(const char* member) const;

    HostRef host_;
    FolderPtr folder_;
    InMemorySelection selection_;
    std::function<void(InMemoryExplorer*)> onClose_;
    bool closed_ = false;
    EventSource<> close_, folderSwitch_, selectionChange_;
};

class InMemoryExplorers : public InMemoryCollection<Explorers, std::shared_ptr<InMemoryExplorer>> {
  public:
    explicit InMemoryExplorers(const std::weak_ptr<HostCore>& core)
        : InMemoryCollection(core, "Explorers", "explorer") {}

    std::shared_ptr<InMemoryExplorer> open(const FolderPtr& folder);
};

} // namespace velmora::host
