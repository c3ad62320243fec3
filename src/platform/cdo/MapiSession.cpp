// The messaging session over the in-memory host.
// Errors from the host come through as they are; a missing mail gets its own description.
#include "platform/cdo/MapiSession.h"

#include "platform/host/ObjectModel.h"

#include <stdexcept>

namespace velmora::cdo {

std::string HostMapiSession::SenderAddress(const std::string& entryId) {
    if (entryId.empty()) throw std::runtime_error("The message was not found: no entry ID given");
    auto item = app_.GetNamespace("MAPI").GetItemFromID(entryId);
    if (!item) throw std::runtime_error("The message was not found: " + entryId);
    if (item->Class() != host::olMail && item->Class() != host::olPost)
        throw std::runtime_error("The item " + entryId + " is not a message");
    return item->Text("SenderEmailAddress");
}

} // namespace velmora::cdo
