// The application object of the in-memory host.
#include "platform/host/InMemoryApplication.h"

#include "platform/host/HostCore.h"
#include "platform/host/InMemoryExplorer.h"
#include "platform/host/InMemoryExplorers.h"
#include "platform/host/InMemoryInspectors.h"
#include "platform/host/InMemoryItem.h"
#include "platform/text/AsciiText.h"

namespace velmora::host {

InMemoryApplication::InMemoryApplication(const std::shared_ptr<HostCore>& core)
    : core_(core), explorers_(std::make_shared<InMemoryExplorers>(core)),
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
    if (auto core = core_.lock()) {
        core->onDisplay = nullptr;
        core->onGetExplorer = nullptr;
    }
}

std::shared_ptr<HostCore> InMemoryApplication::use(const char* member) const {
    auto core = core_.lock();
    if (!core) throw HostError("The mail host has been shut down");
    core->check(member);
    return core;
}

ExplorerPtr InMemoryApplication::ActiveExplorer() {
    use("Application.ActiveExplorer");
    const auto& all = explorers_->all();
    return all.empty() ? nullptr : all.back();
}

Explorers& InMemoryApplication::Explorers() {
    use("Application.Explorers");
    return *explorers_;
}

Inspectors& InMemoryApplication::Inspectors() {
    use("Application.Inspectors");
    return *inspectors_;
}

NameSpace& InMemoryApplication::GetNamespace(const std::string& type) {
    use("Application.GetNamespace");
    if (!text::iequals(text::trim(type), "MAPI"))
        throw HostError("GetNamespace: \"" + type + "\" is not a namespace; use \"MAPI\"");
    return namespace_;
}

ItemPtr InMemoryApplication::CreateItem(int itemType) {
    auto core = use("Application.CreateItem");
    return InMemoryItem::create(core, itemType, nullptr);
}

InspectorPtr InMemoryApplication::OpenInspector(const ItemPtr& item) {
    return inspectors_->open(item);
}

void InMemoryApplication::Quit() {
    use("Application.Quit");
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

} // namespace velmora::host
