// The application object of the in-memory host and its "MAPI" namespace.
#include "platform/host/InMemoryApplication.h"

#include "platform/host/HostCore.h"
#include "platform/host/InMemoryExplorer.h"
#include "platform/host/InMemoryFolder.h"
#include "platform/host/InMemoryInspector.h"
#include "platform/host/InMemoryItem.h"
#include "platform/text/AsciiText.h"

namespace velmora::host {

InMemoryApplication::InMemoryApplication(const std::shared_ptr<HostCore>& core)
    : host_(core), explorers_(std::make_shared<InMemoryExplorers>(core)),
      inspectors_(std::make_shared<InMemoryInspectors>(core)), namespace_(core) {
    std::weak_ptr<InMemoryInspectors> inspectors = inspectors_;
    core->onDisplay = [inspectors](const ItemPtr& item) {
        if (auto i = inspectors.lock()) i->open(item);
    };
    // An explorer from Folder::GetExplorer is not shown, so it joins no Explorers list.
    std::weak_ptr<HostCore> weakCore = core;
    core->onGetExplorer = [weakCore](const FolderPtr& folder) -> ExplorerPtr {
        return std::make_shared<InMemoryExplorer>(weakCore, folder, nullptr);
    };
}

InMemoryApplication::~InMemoryApplication() {
    if (auto core = host_.weak().lock()) {
        core->onDisplay = nullptr;
        core->onGetExplorer = nullptr;
    }
}

ExplorerPtr InMemoryApplication::ActiveExplorer() {
    host_.use("Application.ActiveExplorer");
    const auto& all = explorers_->all();
    return all.empty() ? nullptr : all.back();
}

Explorers& InMemoryApplication::Explorers() {
    host_.use("Application.Explorers");
    return *explorers_;
}

Inspectors& InMemoryApplication::Inspectors() {
    host_.use("Application.Inspectors");
    return *inspectors_;
}

NameSpace& InMemoryApplication::GetNamespace(const std::string& type) {
    host_.use("Application.GetNamespace");
    if (!text::iequals(text::trim(type), "MAPI"))
        throw HostError("GetNamespace: \"" + type + "\" is not a namespace; use \"MAPI\"");
    return namespace_;
}

ItemPtr InMemoryApplication::CreateItem(int itemType) {
    auto core = host_.use("Application.CreateItem");
    return InMemoryItem::create(core, itemType, nullptr);
}

InspectorPtr InMemoryApplication::OpenInspector(const ItemPtr& item) {
    return inspectors_->open(item);
}

void InMemoryApplication::Quit() {
    host_.use("Application.Quit");
    quit_ = true;
}

std::shared_ptr<InMemoryExplorer> InMemoryApplication::addExplorer(const FolderPtr& folder) {
    return explorers_->open(folder);
}

void InMemoryApplication::closeAllExplorers() {
    const auto open = explorers_->all();
    for (const auto& e : open)
        e->Close();
}

FolderPtr InMemoryNameSpace::GetDefaultFolder(int folderType) {
    return host_.use("NameSpace.GetDefaultFolder")->defaultFolder(folderType);
}

ItemPtr InMemoryNameSpace::GetItemFromID(const std::string& entryId, const std::string& storeId) {
    auto core = host_.use("NameSpace.GetItemFromID");
    auto item = core->lookup(entryId);
    // With a store ID the item must live in that store.
    if (item && !storeId.empty() && item->home()->storeId() != storeId) return nullptr;
    return item;
}

std::vector<FolderPtr> InMemoryNameSpace::Folders() const {
    auto roots = host_.use("NameSpace.Folders")->storeRoots();
    return {roots.begin(), roots.end()};
}

} // namespace velmora::host
