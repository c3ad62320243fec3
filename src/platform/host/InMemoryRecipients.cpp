// The recipients of an in-memory item.
#include "platform/host/InMemoryRecipients.h"

#include "platform/host/HostCore.h"
#include "platform/host/InMemoryItem.h"
#include "platform/text/AsciiText.h"

namespace velmora::host {

namespace {

void checkIndex(int index, std::size_t size) {
    if (index < 1 || static_cast<std::size_t>(index) > size)
        throw HostError("Array index out of bounds: recipient " + std::to_string(index) + " of " +
                        std::to_string(size));
}

} // namespace

int InMemoryRecipients::Count() const {
    owner_.core()->check("Recipients.Count");
    return static_cast<int>(list_.size());
}

Recipient InMemoryRecipients::Item(int index) const {
    owner_.core()->check("Recipients.Item");
    checkIndex(index, list_.size());
    return list_[static_cast<std::size_t>(index - 1)];
}

void InMemoryRecipients::Add(const Recipient& recipient) {
    owner_.core()->check("Recipients.Add");
    if (text::trim(recipient.Name).empty() && text::trim(recipient.Address).empty())
        throw HostError("A recipient needs a name or an address");
    if (recipient.Type < olOriginator || recipient.Type > olBCC)
        throw HostError("Invalid recipient type " + std::to_string(recipient.Type) +
                        " (0 originator, 1 To, 2 CC, 3 BCC)");
    list_.push_back(recipient);
    owner_.recipientsChanged();
}

void InMemoryRecipients::Remove(int index) {
    owner_.core()->check("Recipients.Remove");
    checkIndex(index, list_.size());
    list_.erase(list_.begin() + (index - 1));
    owner_.recipientsChanged();
}

} // namespace velmora::host
