// The application object of the in-memory host: explorers, inspectors, the "MAPI" namespace,
// item creation and the quit request.
#pragma once

#include "platform/host/InMemoryNameSpace.h"
#include "platform/host/ObjectModel.h"

#include <memory>

namespace velmora::host {

class HostCore;
class InMemoryExplorers;
class InMemoryInspectors;
class InMemoryExplorer;

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
    std::shared_ptr<HostCore> use(const char* member) const;

    std::weak_ptr<HostCore> core_;
    std::shared_ptr<InMemoryExplorers> explorers_;
    std::shared_ptr<InMemoryInspectors> inspectors_;
    InMemoryNameSpace namespace_;
    bool quit_ = false;
};

} // namespace velmora::host
