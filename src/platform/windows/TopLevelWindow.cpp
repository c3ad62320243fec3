// Window entries as small files written through a temporary name, so a reader never sees a
// half-written title; the owner's start time lets a reader tell a reused pid.
#include "platform/windows/TopLevelWindow.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::windows {

namespace {

// Field 22 of /proc/<pid>/stat, the start time; the name in field 2 may hold blanks. "0" when
// it cannot be read.
std::string startTimeOf(pid_t pid) {
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(in, line)) return "0";
    const auto close = line.rfind(')');
    if (close == std::string::npos) return "0";
    std::istringstream fields(line.substr(close + 1));
    std::string field;
    for (int n = 3; fields >> field; ++n)
        if (n == 22) return field;
    return "0";
}

std::runtime_error failure(const std::string& what, const std::filesystem::path& path, int err) {
    return std::runtime_error(what + " " + path.string() + ": " + std::strerror(err));
}

// The folder must be a real folder of this user: another user's could announce false windows.
bool ownFolder(const std::filesystem::path& dir) {
    struct stat st {};
    return ::lstat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid();
}

} // namespace

std::filesystem::path WindowDirectory::defaultPath() {
    if (const char* env = std::getenv("VELMORA_WINDOWS_DIR"); env && *env) return env;
    if (const char* env = std::getenv("XDG_RUNTIME_DIR"); env && *env)
        return std::filesystem::path(env) / "velmora-windows";
    return "/tmp/velmora-windows-" + std::to_string(::getuid());
}

void WindowDirectory::writeAtomically(const std::filesystem::path& target, const std::string& text,
                                      bool replace) const {
    std::string temp = (dir_ / ".entry.XXXXXX").string();
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC);
    if (fd < 0) throw failure("Cannot write a window entry in", dir_, errno);
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size());
    const int writeErr = errno;
    ::close(fd);
    if (!written) {
        ::unlink(temp.c_str());
        throw failure("Cannot write window entry", target, writeErr);
    }
    // link() refuses an existing name, so two windows of one process never share an entry.
    const int rc =
        replace ? ::rename(temp.c_str(), target.c_str()) : ::link(temp.c_str(), target.c_str());
    const int err = errno;
    if (!replace || rc != 0) ::unlink(temp.c_str());
    if (rc != 0) throw failure("Cannot write window entry", target, err);
}

std::filesystem::path WindowDirectory::announce(const std::string& title) const {
    if (::mkdir(dir_.c_str(), 0700) != 0 && errno != EEXIST)
        throw failure("Cannot create the window folder", dir_, errno);
    if (!ownFolder(dir_))
        throw std::runtime_error("The window folder " + dir_.string() +
                                 " is not a folder of this user");
    const pid_t self = ::getpid();
    const std::string text = startTimeOf(self) + "\n" + title;
    for (int n = 0;; ++n) {
        auto entry = dir_ / (std::to_string(self) + (n ? "." + std::to_string(n) : std::string()));
        try {
            writeAtomically(entry, text, false);
            return entry;
        } catch (const std::runtime_error&) {
            if (!std::filesystem::exists(entry) || n > 1000) throw;
        }
    }
}

void WindowDirectory::retitle(const std::filesystem::path& entry, const std::string& title) const {
    writeAtomically(entry, startTimeOf(::getpid()) + "\n" + title, true);
}

void WindowDirectory::withdraw(const std::filesystem::path& entry) const noexcept {
    ::unlink(entry.c_str());
}

TopLevelWindow::TopLevelWindow(std::string title, WindowDirectory directory)
    : directory_(std::move(directory)), title_(std::move(title)),
      entry_(directory_.announce(title_)) {}

TopLevelWindow::~TopLevelWindow() {
    directory_.withdraw(entry_);
}

void TopLevelWindow::setTitle(std::string title) {
    directory_.retitle(entry_, title);
    title_ = std::move(title);
}

} // namespace velmora::windows
