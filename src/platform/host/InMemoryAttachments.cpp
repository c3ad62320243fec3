// The attachments of an in-memory item.
#include "platform/host/InMemoryAttachments.h"

#include "platform/host/HostCore.h"
#include "platform/host/InMemoryAttachment.h"
#include "platform/host/InMemoryItem.h"
#include "platform/text/AsciiText.h"

namespace velmora::host {

int InMemoryAttachments::Count() const {
    owner_.core()->check("Attachments.Count");
    return static_cast<int>(list_.size());
}

std::shared_ptr<Attachment> InMemoryAttachments::Item(int index) const {
    owner_.core()->check("Attachments.Item");
    if (index < 1 || static_cast<std::size_t>(index) > list_.size())
        throw HostError("Array index out of bounds: attachment " + std::to_string(index) + " of " +
                        std::to_string(list_.size()));
    return list_[static_cast<std::size_t>(index - 1)];
}

void InMemoryAttachments::Add(const std::string& displayName, const std::string& content) {
    auto core = owner_.core();
    core->check("Attachments.Add");
    if (text::trim(displayName).empty()) throw HostError("An attachment needs a display name");
    list_.push_back(std::make_shared<InMemoryAttachment>(core, displayName, content,
                                                         static_cast<int>(list_.size()) + 1));
}

long InMemoryAttachments::totalBytes() const {
    long total = 0;
    for (const auto& a : list_)
        total += static_cast<long>(static_cast<const InMemoryAttachment&>(*a).content().size());
    return total;
}

} // namespace velmora::host
