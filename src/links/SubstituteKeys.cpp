// Substitute keys given to outgoing mails. Entries stay for the session: a key whose mail has
// arrived still names that mail for a dialog that writes under it later.
#include "links/SubstituteKeys.h"

#include <algorithm>

namespace velmora {

std::size_t SubstituteKeys::indexOf(const host::Item& mail) const {
    // A mail that is gone no longer answers, even when a new item takes its place in memory.
    const auto at = std::find_if(given_.begin(), given_.end(), [&](const Given& g) {
        const auto held = g.mail.lock();
        return held.get() == &mail;
    });
    return static_cast<std::size_t>(at - given_.begin());
}

std::optional<std::string> SubstituteKeys::keyOf(const host::Item& mail) const {
    const std::size_t at = indexOf(mail);
    if (at == given_.size()) return std::nullopt;
    return given_[at].key;
}

bool SubstituteKeys::isTaken(const std::string& key) const {
    return std::any_of(given_.begin(), given_.end(), [&](const Given& g) { return g.key == key; });
}

void SubstituteKeys::give(const host::Item& mail, const std::string& key) {
    given_.push_back({mail.weak_from_this(), key, {}});
}

bool SubstituteKeys::arrived(const host::Item& mail, const std::string& entryId) {
    const std::size_t at = indexOf(mail);
    if (at == given_.size() || entryId.empty()) return false;
    given_[at].entryId = entryId;
    return true;
}

std::optional<std::string> SubstituteKeys::entryIdOf(const std::string& key) const {
    const auto at =
        std::find_if(given_.begin(), given_.end(), [&](const Given& g) { return g.key == key; });
    if (at == given_.end() || at->entryId.empty()) return std::nullopt;
    return at->entryId;
}

} // namespace velmora
