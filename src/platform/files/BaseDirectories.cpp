// The home folder and the XDG base directories. A relative value in an XDG variable is ignored,
// as the base directory rules say, so a stray "XDG_DATA_HOME=data" never scatters files.
#include "platform/files/BaseDirectories.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace velmora::files {

namespace {

std::filesystem::path fromEnvironment(const char* variable, const std::filesystem::path& fallback) {
    const char* value = std::getenv(variable);
    if (value && *value && std::filesystem::path(value).is_absolute()) return value;
    return homeFolder() / fallback;
}

} // namespace

std::filesystem::path homeFolder() {
    if (const char* home = std::getenv("HOME"); home && *home) return home;
    // No HOME (a service account, a stripped environment): ask the user database.
    std::vector<char> buffer(16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
        found->pw_dir && *found->pw_dir)
        return found->pw_dir;
    return std::filesystem::current_path();
}

std::filesystem::path configHome() {
    return fromEnvironment("XDG_CONFIG_HOME", ".config");
}

std::filesystem::path dataHome() {
    return fromEnvironment("XDG_DATA_HOME", ".local/share");
}

std::filesystem::path stateHome() {
    return fromEnvironment("XDG_STATE_HOME", ".local/state");
}

} // namespace velmora::files
