// The recipients of an in-memory mail, appointment or task; every change rewrites the item's
// To, CC and BCC texts.
#pragma once

#include "platform/host/ObjectModel.h"

#include <vector>

namespace velmora::host {

class InMemoryItem;

class InMemoryRecipients : public Recipients {
  public:
    explicit InMemoryRecipients(InMemoryItem& owner) : owner_(owner) {}
    int Count() const override;
    Recipient Item(int index) const override;
    void Add(const Recipient& recipient) override;
    void Remove(int index) override;

    const std::vector<Recipient>& all() const { return list_; }

  private:
    InMemoryItem& owner_;
    std::vector<Recipient> list_;
};

} // namespace velmora::host
