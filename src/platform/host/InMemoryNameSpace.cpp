// The "MAPI" namespace of the in-memory host.
#include "platform/host/InMemoryNameSpace.h"

#include "platform/host/HostCore.h"
#include "platform/host/InMemoryFolder.h"
#include "platform/host/InMemoryItem.h"

namespace velmora::host {

std::shared_ptr<HostCore> InMemoryNameSpace::use(const char* member) const {
    auto core = core_.lock();
    if (!core) throw HostError("The mail host has been shut down");
    core->check(member);
    return core;
}

FolderPtr InMemoryNameSpace::GetDefaultFolder(int folderType) {
    return use("NameSpace.GetDefaultFolder")->defaultFolder(folderType);
}

ItemPtr InMemoryNameSpace::GetItemFromID(const std::string& entryId, const std::string& storeId) {
    auto core = use("NameSpace.GetItemFromID");
    auto item = core->lookup(entryId);
    // With a store ID the item must live in that store.
    if (item && !storeId.empty() && item->home()->storeId() != storeId) return nullptr;
    return item;
}

std::vector<FolderPtr> InMemoryNameSpace::Folders() const {
    auto roots = use("NameSpace.Folders")->storeRoots();
    return {roots.begin(), roots.end()};
}

} // namespace velmora::host
