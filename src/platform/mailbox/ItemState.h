// An item's whole state in the host, as the mailbox index keeps it beside the files: its
// properties, recipients, links, recurrence and, for kinds whose files cannot hold them,
// attachments.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora::host {
class InMemoryItem;
}

namespace velmora::mailbox {

// A mail's bodies and attachments stay in its file and are left out.
std::string saveItemState(const host::InMemoryItem& item);

// Puts a saved state back into a fresh item of the same kind; raises std::runtime_error when
// the bytes are not a state this version wrote (the caller then reads the file instead).
void restoreItemState(host::InMemoryItem& item, std::string_view state);

// The item kind a saved state is of, or nothing when the bytes are not a state.
std::optional<int> itemTypeOfState(std::string_view state);

} // namespace velmora::mailbox
