// Where the mail links keep attachment copies: the install path from the settings, and the
// "attachments" folder below it.
#pragma once

#include "store/StoreContext.h"

#include <filesystem>
#include <string>

namespace velmora {

// GetSysInfo "path"; the settings' default install path when there is no registry at all.
std::string installPath(const StoreContext& state);

// installPath + "attachments", joined as this machine joins paths.
std::filesystem::path attachmentRoot(const StoreContext& state);

} // namespace velmora
