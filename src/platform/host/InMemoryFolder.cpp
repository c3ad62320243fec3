// A folder of the in-memory host.
#include "platform/host/InMemoryFolder.h"

#include "platform/host/HostCore.h"
#include "platform/host/InMemoryItems.h"
#include "platform/host/ItemKeeper.h"
#include "platform/text/AsciiText.h"

namespace velmora::host {

std::shared_ptr<InMemoryFolder>
InMemoryFolder::create(const std::shared_ptr<HostCore>& core, const std::string& name, int itemType,
                       const std::string& storeId, const std::shared_ptr<InMemoryFolder>& parent) {
    auto folder = std::make_shared<InMemoryFolder>(core, name, itemType, storeId,
                                                   core->newFolderId(), parent);
    folder->items_ = std::make_shared<InMemoryItems>(core, folder, itemType);
    return folder;
}

InMemoryFolder::InMemoryFolder(std::weak_ptr<HostCore> core, std::string name, int itemType,
                               std::string storeId, std::string entryId,
                               std::weak_ptr<InMemoryFolder> parent)
    : host_(std::move(core)), name_(std::move(name)), itemType_(itemType),
      storeId_(std::move(storeId)), entryId_(std::move(entryId)), parent_(std::move(parent)) {}

std::shared_ptr<Items> InMemoryFolder::Items() {
    host_.use("Folder.Items");
    return items_;
}

std::shared_ptr<Folder> InMemoryFolder::Parent() const {
    host_.use("Folder.Parent");
    return parent_.lock();
}

std::vector<std::shared_ptr<Folder>> InMemoryFolder::Folders() const {
    host_.use("Folder.Folders");
    return {children_.begin(), children_.end()};
}

std::shared_ptr<Folder> InMemoryFolder::AddFolder(const std::string& name, int itemType) {
    host_.use("Folder.AddFolder");
    return addChild(name, itemType);
}

std::shared_ptr<InMemoryFolder> InMemoryFolder::addChild(const std::string& name, int itemType) {
    if (text::trim(name).empty()) throw HostError("A folder needs a name");
    if (itemType < olMailItem || itemType > olPostItem)
        throw HostError("Cannot add folder \"" + name + "\": " + std::to_string(itemType) +
                        " is not an item type (0 to 6)");
    for (const auto& child : children_)
        if (text::iequals(child->name_, name))
            throw HostError("Cannot add folder \"" + name +
                            "\": a folder of that name already exists in \"" + name_ + "\"");
    auto core = host_.lock();
    auto child = create(core, name, itemType, storeId_,
                        std::static_pointer_cast<InMemoryFolder>(shared_from_this()));
    if (core->keeper()) core->keeper()->folderAdded(*child);
    children_.push_back(child);
    return child;
}

std::shared_ptr<Explorer> InMemoryFolder::GetExplorer() {
    auto c = host_.use("Folder.GetExplorer");
    if (!c->onGetExplorer) throw HostError("This host cannot open an explorer");
    return c->onGetExplorer(shared_from_this());
}

} // namespace velmora::host
