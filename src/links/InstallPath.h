// Where the mail links keep attachment copies: the install path from the settings key, and the
// "attachments" folder below it.
#pragma once

#include "addin/AddinState.h"

#include <filesystem>
#include <string>

namespace velmora {

// The install directory used when the settings key has no "path" value.
inline constexpr const char* defaultInstallPath =
    "c:\\Program Files\\Velmora\\Velmora Outlook Client";

// The "path" value of "Software\OutLook Sync Velmora", or the default when absent or unreadable.
std::string installPath(const AddinState& state);

// installPath + "attachments", joined as this machine joins paths.
std::filesystem::path attachmentRoot(const AddinState& state);

} // namespace velmora
