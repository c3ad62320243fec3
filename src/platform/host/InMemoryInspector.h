// An item window of the in-memory host with its own command bars; a note's window has none,
// as the host's note windows have none.
#pragma once

#include "platform/host/ObjectModel.h"

#include <functional>
#include <memory>

namespace velmora::host {

class HostCore;
class InMemoryCommandBars;

class InMemoryInspector : public Inspector, public std::enable_shared_from_this<InMemoryInspector> {
  public:
    InMemoryInspector(std::weak_ptr<HostCore> core, ItemPtr item,
                      std::shared_ptr<InMemoryCommandBars> bars,
                      std::function<void(InMemoryInspector*)> onClose)
        : core_(std::move(core)), item_(std::move(item)), bars_(std::move(bars)),
          onClose_(std::move(onClose)) {}

    ItemPtr CurrentItem() const override;
    host::CommandBars& CommandBars() override;
    void Close() override;

    const ItemPtr& item() const { return item_; }

  private:
    std::shared_ptr<HostCore> use(const char* member) const;
    std::weak_ptr<HostCore> core_;
    ItemPtr item_;
    std::shared_ptr<InMemoryCommandBars> bars_;
    std::function<void(InMemoryInspector*)> onClose_;
    bool closed_ = false;
};

} // namespace velmora::host
