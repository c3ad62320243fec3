// Where the mail links keep attachment copies: the install path from the settings, and the
// "attachments" folder below it.
#pragma once

#include "addin/AddinState.h"

#include <filesystem>
#include <string>

namespace velmora {

// GetSysInfo "path"; the settings' default install path when there is no registry at all.
std::string installPath(const AddinState& state);

// installPath + "attachments", joined as this machine joins paths.
std::filesystem::path attachmentRoot(const AddinState& state);

} // namespace velmora
