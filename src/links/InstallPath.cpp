// The install path as the settings key records it, read the way every settings reader reads:
// a string value with its terminating zero dropped, and the default on any failure.
#include "links/InstallPath.h"

namespace velmora {

std::string installPath(const AddinState& state) {
    try {
        if (!state.platform.registry) return defaultInstallPath;
        const auto value =
            state.platform.registry->QueryValue("Software\\OutLook Sync Velmora", "path");
        if (!value || value->type != registry::REG_SZ) return defaultInstallPath;
        std::string text(value->data.begin(), value->data.end());
        if (!text.empty() && text.back() == '\0') text.pop_back();
        return text;
    } catch (...) {
        return defaultInstallPath;
    }
}

std::filesystem::path attachmentRoot(const AddinState& state) {
    return std::filesystem::path(installPath(state)) / "attachments";
}

} // namespace velmora
