// The item windows of the in-memory host: one window with its own command bars (a note's window
// has none, as the host's note windows have none), and the collection of open ones with the
// NewInspector event.
#pragma once

#include "platform/host/InMemoryCollection.h"
#include "platform/host/ObjectModel.h"

#include <functional>
#include <memory>

namespace velmora::host {

class InMemoryCommandBars;

class InMemoryInspector : public Inspector, public std::enable_shared_from_this<InMemoryInspector> {
  public:
    InMemoryInspector(std::weak_ptr<HostCore> core, ItemPtr item,
                      std::shared_ptr<InMemoryCommandBars> bars,
                      std::function<void(InMemoryInspector*)> onClose)
        : host_(std::move(core)), item_(std::move(item)), bars_(std::move(bars)),
          onClose_(std::move(onClose)) {}

    ItemPtr CurrentItem() const override;
    host::CommandBars& CommandBars() override;
    void Close() override;

    const ItemPtr& item() const { return item_; }

  private:
    void use(const char* member) const;

    HostRef host_;
    ItemPtr item_;
    std::shared_ptr<InMemoryCommandBars> bars_;
    std::function<void(InMemoryInspector*)> onClose_;
    bool closed_ = false;
};

class InMemoryInspectors
    : public InMemoryCollection<Inspectors, std::shared_ptr<InMemoryInspector>> {
  public:
    explicit InMemoryInspectors(const std::weak_ptr<HostCore>& core)
        : InMemoryCollection(core, "Inspectors", "inspector") {}
    EventSource<InspectorPtr>& NewInspector() override { return newInspector_; }

    // The window already showing the item, or a new one (raising NewInspector).
    InspectorPtr open(const ItemPtr& item);

  private:
    EventSource<InspectorPtr> newInspector_;
};

} // namespace velmora::host
