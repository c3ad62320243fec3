// The invariants a link store and its attachment copies keep after every operation, checked
// from the outside: what a crash, a host fault or a lock may never break.
#pragma once

#include "platform/ado/Connection.h"

#include <filesystem>
#include <string>
#include <vector>

namespace velmora {

// Every live link of a mail, note or appointment has its history row and every history row has
// a live link; every Attachments row names a copy on disk and every copy below attachmentRoot
// is named by a row. Returns one line per broken invariant, empty when the store is sound.
std::vector<std::string> findInconsistencies(ado::Connection& store,
                                             const std::filesystem::path& attachmentRoot);

} // namespace velmora
