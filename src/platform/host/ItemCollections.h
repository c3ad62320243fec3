// The collections an in-memory item owns: its recipients, its attachments (named byte contents
// that SaveAsFile writes to disk) and the contacts it is linked to.
#pragma once

#include "platform/host/InMemoryCollection.h"
#include "platform/host/ObjectModel.h"

#include <memory>
#include <string>
#include <vector>

namespace velmora::host {

class InMemoryItem;

// Every change rewrites the item's To, CC and BCC texts.
class InMemoryRecipients : public InMemoryCollection<Recipients, Recipient> {
  public:
    explicit InMemoryRecipients(InMemoryItem& owner);
    void Add(const Recipient& recipient) override;
    void Remove(int index) override;

  private:
    InMemoryItem& owner_;
};

class InMemoryAttachment : public Attachment {
  public:
    InMemoryAttachment(std::weak_ptr<HostCore> core, std::string displayName, std::string content,
                       int index)
        : host_(std::move(core)), name_(std::move(displayName)), content_(std::move(content)),
          index_(index) {}
    std::string DisplayName() const override { return host_.get("Attachment.DisplayName", name_); }
    std::string FileName() const override { return host_.get("Attachment.FileName", name_); }
    int Index() const override { return index_; }
    // Reports the system's reason when the file cannot be written, so a caller's trap can show
    // why the copy failed.
    void SaveAsFile(const std::string& path) const override;

    const std::string& content() const { return content_; }

  private:
    HostRef host_;
    std::string name_;
    std::string content_;
    int index_;
};

class InMemoryAttachments
    : public InMemoryCollection<Attachments, std::shared_ptr<InMemoryAttachment>> {
  public:
    explicit InMemoryAttachments(const std::weak_ptr<HostCore>& core)
        : InMemoryCollection(core, "Attachments", "attachment") {}
    void Add(const std::string& displayName, const std::string& content) override;

    long totalBytes() const;
};

// Links keep entry IDs, not objects, so a contact that was deleted or moved since yields null,
// as a stale link does in the host.
struct LookUpEntryId {
    std::shared_ptr<host::Item> operator()(const HostCore& core, const std::string& id) const;
};

class InMemoryLinks : public InMemoryCollection<Links, std::string, LookUpEntryId> {
  public:
    explicit InMemoryLinks(InMemoryItem& owner);
    void Add(const std::shared_ptr<host::Item>& contact) override;
    void Remove(int index) override;

  private:
    InMemoryItem& owner_;
};

} // namespace velmora::host
