// Where the embedded link store lives when nothing else is named. The environment is read on
// every call, so a test or tool can point it elsewhere before opening the store.
#include "platform/ado/StoreLocation.h"

#include <cstdlib>
#include <pwd.h>
#include <unistd.h>
#include <vector>

namespace velmora::ado {

namespace {

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

} // namespace

std::filesystem::path defaultStorePath() {
    if (const char* store = std::getenv("VELMORA_STORE"); store && *store) return store;
    return homeFolder() / ".local" / "share" / "velmora" / "linkstore.db";
}

} // namespace velmora::ado
