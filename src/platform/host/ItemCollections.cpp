// The collections an in-memory item owns.
#include "platform/host/ItemCollections.h"

#include "platform/host/HostCore.h"
#include "platform/host/InMemoryItem.h"
#include "platform/text/AsciiText.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

namespace velmora::host {

InMemoryRecipients::InMemoryRecipients(InMemoryItem& owner)
    : InMemoryCollection(owner.core(), "Recipients", "recipient"), owner_(owner) {}

void InMemoryRecipients::Add(const Recipient& recipient) {
    use("Add");
    if (text::trim(recipient.Name).empty() && text::trim(recipient.Address).empty())
        throw HostError("A recipient needs a name or an address");
    if (recipient.Type < olOriginator || recipient.Type > olBCC)
        throw HostError("Invalid recipient type " + std::to_string(recipient.Type) +
                        " (0 originator, 1 To, 2 CC, 3 BCC)");
    list_.push_back(recipient);
    owner_.recipientsChanged();
}

void InMemoryRecipients::Remove(int index) {
    use("Remove");
    eraseAt(index);
    owner_.recipientsChanged();
}

void InMemoryAttachment::SaveAsFile(const std::string& path) const {
    host_.use("Attachment.SaveAsFile");
    if (path.empty())
        throw HostError("Cannot save attachment \"" + name_ + "\": no file name given");
    errno = 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        const int err = errno;
        throw HostError("Cannot save attachment \"" + name_ + "\" as \"" + path +
                        "\": " + (err ? std::strerror(err) : "the file cannot be created"));
    }
    out.write(content_.data(), static_cast<std::streamsize>(content_.size()));
    out.close();
    if (!out) {
        const int err = errno;
        throw HostError("Cannot write attachment \"" + name_ + "\" to \"" + path +
                        "\": " + (err ? std::strerror(err) : "write failed"));
    }
}

void InMemoryAttachments::Add(const std::string& displayName, const std::string& content) {
    auto core = use("Add");
    if (text::trim(displayName).empty()) throw HostError("An attachment needs a display name");
    list_.push_back(std::make_shared<InMemoryAttachment>(core, displayName, content,
                                                         static_cast<int>(list_.size()) + 1));
}

long InMemoryAttachments::totalBytes() const {
    long total = 0;
    for (const auto& a : list_)
        total += static_cast<long>(a->content().size());
    return total;
}

std::shared_ptr<host::Item> LookUpEntryId::operator()(const HostCore& core,
                                                      const std::string& id) const {
    return core.lookup(id);
}

InMemoryLinks::InMemoryLinks(InMemoryItem& owner)
    : InMemoryCollection(owner.core(), "Links", "link"), owner_(owner) {}

// Any saved item can be linked, as in the host; readers take the links that are contacts.
void InMemoryLinks::Add(const std::shared_ptr<host::Item>& contact) {
    use("Add");
    if (!contact) throw HostError("Links.Add needs an item, not Nothing");
    const std::string id = contact->EntryID();
    if (id.empty()) throw HostError("An item must be saved before it can be linked");
    if (id == owner_.EntryID()) throw HostError("An item cannot be linked to itself");
    // Linking the same item twice keeps one link, as the host's own Links do.
    if (std::find(list_.begin(), list_.end(), id) == list_.end()) list_.push_back(id);
}

void InMemoryLinks::Remove(int index) {
    use("Remove");
    eraseAt(index);
}

} // namespace velmora::host
