// The substitute keys given this session to mails on their way out, and the entry IDs those
// mails arrived under in Sent Items; a mail is known by the item itself, not by its times.
#pragma once

#include "platform/host/ObjectModel.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

class SubstituteKeys {
  public:
    // The key given to this mail, or nothing when it was given none.
    std::optional<std::string> keyOf(const host::Item& mail) const;
    // Some mail of this session holds the key, arrived or not: it is given to no other.
    bool isTaken(const std::string& key) const;
    void give(const host::Item& mail, const std::string& key);
    // The mail reached Sent Items under this entry ID; false when it was given no key.
    bool arrived(const host::Item& mail, const std::string& entryId);
    // The entry ID the mail given this key arrived under, or nothing while it is on its way.
    std::optional<std::string> entryIdOf(const std::string& key) const;

  private:
    struct Given {
        std::weak_ptr<const host::Item> mail;
        std::string key;
        std::string entryId;
    };
    // The position of the mail's entry; the number of entries when it has none.
    std::size_t indexOf(const host::Item& mail) const;

    std::vector<Given> given_;
};

} // namespace velmora
