// The open item windows of the in-memory host and the NewInspector event.
#pragma once

#include "platform/host/ObjectModel.h"

#include <memory>
#include <vector>

namespace velmora::host {

class HostCore;
class InMemoryInspector;

class InMemoryInspectors : public Inspectors,
                           public std::enable_shared_from_this<InMemoryInspectors> {
  public:
    explicit InMemoryInspectors(std::weak_ptr<HostCore> core) : core_(std::move(core)) {}
    int Count() const override;
    InspectorPtr Item(int index) const override;
    EventSource<InspectorPtr>& NewInspector() override { return newInspector_; }

    // The window already showing the item, or a new one (raising NewInspector).
    InspectorPtr open(const ItemPtr& item);

  private:
    std::shared_ptr<HostCore> use(const char* member) const;
    std::weak_ptr<HostCore> core_;
    std::vector<std::shared_ptr<InMemoryInspector>> list_;
    EventSource<InspectorPtr> newInspector_;
};

} // namespace velmora::host
