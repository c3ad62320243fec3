// The install path as the settings record it. The registry-less case matters for tools that
// run the engine without a profile: they get the same default as a missing value.
#include "links/InstallPath.h"

#include "store/readRegister.h"

namespace velmora {

std::string installPath(const StoreContext& state) {
    if (!state.platform.registry) return readRegister::defaultPath;
    return readRegister(*state.platform.registry).GetSysInfo("path");
}

std::filesystem::path attachmentRoot(const StoreContext& state) {
    return std::filesystem::path(installPath(state)) / "attachments";
}

} // namespace velmora
