// One attachment of an in-memory item: its display name, position and bytes.
// SaveAsFile writes the bytes to a real file and reports the system's reason when it cannot.
#pragma once

#include "platform/host/ObjectModel.h"

#include <memory>

namespace velmora::host {

class HostCore;

class InMemoryAttachment : public Attachment {
  public:
    InMemoryAttachment(std::weak_ptr<HostCore> core, std::string displayName, std::string content,
                       int index)
        : core_(std::move(core)), name_(std::move(displayName)), content_(std::move(content)),
          index_(index) {}
    std::string DisplayName() const override;
    std::string FileName() const override;
    int Index() const override { return index_; }
    void SaveAsFile(const std::string& path) const override;

    const std::string& content() const { return content_; }

  private:
    void check(const char* member) const;
    std::weak_ptr<HostCore> core_;
    std::string name_;
    std::string content_;
    int index_;
};

} // namespace velmora::host
