// The explorer windows of the in-memory host.
#include "platform/host/InMemoryExplorer.h"

#include "platform/host/HostCore.h"
#include "platform/host/InMemoryCommandBars.h"
#include "platform/host/InMemoryFolder.h"

namespace velmora::host {

void InMemoryExplorer::open(const char* member) const {
    if (closed_) throw HostError(std::string("The explorer has been closed (") + member + ")");
}

FolderPtr InMemoryExplorer::CurrentFolder() const {
    host_.use("Explorer.CurrentFolder");
    return folder_;
}

void InMemoryExplorer::SetCurrentFolder(const FolderPtr& folder) {
    host_.use("Explorer.SetCurrentFolder");
    open("SetCurrentFolder");
    if (!std::dynamic_pointer_cast<InMemoryFolder>(folder))
        throw HostError("SetCurrentFolder needs a folder of this host");
    folder_ = folder;
    // The new folder shows nothing selected yet.
    const bool hadSelection = !selection_.all().empty();
    selection_.assign({});
    auto core = host_.lock();
    core->raise(folderSwitch_);
    if (hadSelection) core->raise(selectionChange_);
}

const Selection& InMemoryExplorer::Selection() const {
    host_.use("Explorer.Selection");
    return selection_;
}

void InMemoryExplorer::Select(const std::vector<ItemPtr>& items) {
    host_.use("Explorer.Select");
    open("Select");
    for (const auto& item : items)
        if (!item) throw HostError("Select: Nothing cannot be selected");
    selection_.assign(items);
    host_.lock()->raise(selectionChange_);
}

CommandBars& InMemoryExplorer::CommandBars() {
    return *host_.use("Explorer.CommandBars")->explorerBars();
}

void InMemoryExplorer::Close() {
    host_.use("Explorer.Close");
    open("Close");
    closed_ = true;
    auto keep = shared_from_this();
    if (onClose_) onClose_(this);
    host_.lock()->raise(close_);
}

std::shared_ptr<InMemoryExplorer> InMemoryExplorers::open(const FolderPtr& folder) {
    auto explorer =
        std::make_shared<InMemoryExplorer>(host_.weak(), folder, forgetter<InMemoryExplorer>());
    list_.push_back(explorer);
    return explorer;
}

} // namespace velmora::host
