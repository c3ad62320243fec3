// An explorer window of the in-memory host.
#include "platform/host/InMemoryExplorer.h"

#include "platform/host/HostCore.h"
#include "platform/host/InMemoryCommandBars.h"
#include "platform/host/InMemoryFolder.h"

namespace velmora::host {

InMemoryExplorer::InMemoryExplorer(std::weak_ptr<HostCore> core, FolderPtr folder,
                                   std::function<void(InMemoryExplorer*)> onClose)
    : core_(core), folder_(std::move(folder)), selection_([core](const char* member) {
          auto c = core.lock();
          if (!c) throw HostError("The mail host has been shut down");
          c->check(member);
      }),
      onClose_(std::move(onClose)) {}

std::shared_ptr<HostCore> InMemoryExplorer::use(const char* member) const {
    auto core = core_.lock();
    if (!core) throw HostError("The mail host has been shut down");
    core->check(member);
    return core;
}

void InMemoryExplorer::open(const char* member) const {
    if (closed_) throw HostError(std::string("The explorer has been closed (") + member + ")");
}

FolderPtr InMemoryExplorer::CurrentFolder() const {
    use("Explorer.CurrentFolder");
    return folder_;
}

void InMemoryExplorer::SetCurrentFolder(const FolderPtr& folder) {
    use("Explorer.SetCurrentFolder");
    open("SetCurrentFolder");
    if (!std::dynamic_pointer_cast<InMemoryFolder>(folder))
        throw HostError("SetCurrentFolder needs a folder of this host");
    folder_ = folder;
    // The new folder shows nothing selected yet.
    const bool hadSelection = !selection_.items_.empty();
    selection_.items_.clear();
    folderSwitch_.raise();
    if (hadSelection) selectionChange_.raise();
}

const Selection& InMemoryExplorer::Selection() const {
    use("Explorer.Selection");
    return selection_;
}

void InMemoryExplorer::Select(const std::vector<ItemPtr>& items) {
    use("Explorer.Select");
    open("Select");
    for (const auto& item : items)
        if (!item) throw HostError("Select: Nothing cannot be selected");
    selection_.items_ = items;
    selectionChange_.raise();
}

CommandBars& InMemoryExplorer::CommandBars() {
    auto core = use("Explorer.CommandBars");
    return *core->explorerBars();
}

void InMemoryExplorer::Close() {
    use("Explorer.Close");
    open("Close");
    closed_ = true;
    auto keep = shared_from_this();
    if (onClose_) onClose_(this);
    close_.raise();
}

} // namespace velmora::host
