// The attachments of an in-memory item: named byte contents that SaveAsFile writes to disk.
#pragma once

#include "platform/host/ObjectModel.h"

#include <memory>
#include <vector>

namespace velmora::host {

class InMemoryItem;

class InMemoryAttachments : public Attachments {
  public:
    explicit InMemoryAttachments(InMemoryItem& owner) : owner_(owner) {}
    int Count() const override;
    std::shared_ptr<Attachment> Item(int index) const override;
    void Add(const std::string& displayName, const std::string& content) override;

    long totalBytes() const;

  private:
    InMemoryItem& owner_;
    std::vector<std::shared_ptr<Attachment>> list_;
};

} // namespace velmora::host
