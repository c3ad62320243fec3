// The contacts an in-memory item is linked to, resolved through the host's entry-ID index.
#include "platform/host/InMemoryLinks.h"

#include "platform/host/HostCore.h"
#include "platform/host/InMemoryItem.h"

#include <algorithm>

namespace velmora::host {

namespace {

void checkIndex(int index, std::size_t size) {
    if (index < 1 || static_cast<std::size_t>(index) > size)
        throw HostError("Array index out of bounds: link " + std::to_string(index) + " of " +
                        std::to_string(size));
}

} // namespace

int InMemoryLinks::Count() const {
    owner_.core()->check("Links.Count");
    return static_cast<int>(entryIds_.size());
}

std::shared_ptr<host::Item> InMemoryLinks::Item(int index) const {
    auto core = owner_.core();
    core->check("Links.Item");
    checkIndex(index, entryIds_.size());
    return core->lookup(entryIds_[static_cast<std::size_t>(index - 1)]);
}

// Any saved item can be linked, as in the host; readers take the links that are contacts.
void InMemoryLinks::Add(const std::shared_ptr<host::Item>& contact) {
    owner_.core()->check("Links.Add");
    if (!contact) throw HostError("Links.Add needs an item, not Nothing");
    const std::string id = contact->EntryID();
    if (id.empty()) throw HostError("An item must be saved before it can be linked");
    if (id == owner_.EntryID()) throw HostError("An item cannot be linked to itself");
    // Linking the same item twice keeps one link, as the host's own Links do.
    if (std::find(entryIds_.begin(), entryIds_.end(), id) == entryIds_.end())
        entryIds_.push_back(id);
}

void InMemoryLinks::Remove(int index) {
    owner_.core()->check("Links.Remove");
    checkIndex(index, entryIds_.size());
    entryIds_.erase(entryIds_.begin() + (index - 1));
}

} // namespace velmora::host
