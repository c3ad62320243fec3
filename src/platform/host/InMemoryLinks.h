// The contacts an in-memory item is linked to. Links keep entry IDs, not objects, so a contact
// that was deleted or moved since yields null, as a stale link does in the host.
#pragma once

#include "platform/host/ObjectModel.h"

#include <string>
#include <vector>

namespace velmora::host {

class InMemoryItem;

class InMemoryLinks : public Links {
  public:
    explicit InMemoryLinks(InMemoryItem& owner) : owner_(owner) {}
    int Count() const override;
    std::shared_ptr<host::Item> Item(int index) const override;
    void Add(const std::shared_ptr<host::Item>& contact) override;
    void Remove(int index) override;

  private:
    InMemoryItem& owner_;
    std::vector<std::string> entryIds_;
};

} // namespace velmora::host
