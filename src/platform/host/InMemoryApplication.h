// The application object of the in-memory host: explorers, inspectors, the "MAPI" namespace,
// item creation and the quit request.
#pragma once

#include "platform/host/HostCore.h"
#include "platform/host/ObjectModel.h"

#include <memory>

namespace velmora::host {

class InMemoryExplorers;
class InMemoryInspectors;
class InMemoryExplorer;

// The "MAPI" namespace: default folders, item lookup by entry ID and the stores' root folders.
class InMemoryNameSpace : public NameSpace {
  public:
    explicit InMemoryNameSpace(std::weak_ptr<HostCore> core) : host_(std::move(core)) {}
    FolderPtr GetDefaultFolder(int folderType) override;
    ItemPtr GetItemFromID(const std::string& entryId, const std::string& storeId = "") override;
    std::vector<FolderPtr> Folders() const override;

  private:
    HostRef host_;
};

class InMemoryApplication : public Application {
  public:
    explicit InMemoryApplication(const std::shared_ptr<HostCore>& core);
    ~InMemoryApplication() override;

    ExplorerPtr ActiveExplorer() override;
    host::Explorers& Explorers() override;
    host::Inspectors& Inspectors() override;
    NameSpace& GetNamespace(const std::string& type) override;
    ItemPtr CreateItem(int itemType) override;
    InspectorPtr OpenInspector(const ItemPtr& item) override;
    void Quit() override;
    bool QuitRequested() const override { return quit_; }

    std::shared_ptr<InMemoryExplorer> addExplorer(const FolderPtr& folder);
    void closeAllExplorers();

  private:
    HostRef host_;
    std::shared_ptr<InMemoryExplorers> explorers_;
    std::shared_ptr<InMemoryInspectors> inspectors_;
    InMemoryNameSpace namespace_;
    bool quit_ = false;
};

} // namespace velmora::host
