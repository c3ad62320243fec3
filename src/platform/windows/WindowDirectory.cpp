// Window entries as small files written through a temporary name, so a scanner never reads a
// half-written title. A process's start time guards against a reused pid.
#include "platform/windows/WindowDirectory.h"

#include <cerrno>
#include <csignal>
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

struct ProcessInfo {
    bool readable = false;
    char state = '?';
    std::string startTime = "0";
};

// Fields 3 (state) and 22 (start time) of /proc/<pid>/stat; the name in field 2 may hold blanks.
ProcessInfo processInfo(pid_t pid) {
    ProcessInfo info;
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string line;
    if (!std::getline(in, line)) return info;
    const auto close = line.rfind(')');
    if (close == std::string::npos) return info;
    std::istringstream fields(line.substr(close + 1));
    std::string field;
    for (int n = 3; fields >> field; ++n) {
        if (n == 3) info.state = field.empty() ? '?' : field[0];
        if (n == 22) {
            info.startTime = field;
            info.readable = true;
            break;
        }
    }
    return info;
}

std::runtime_error failure(const std::string& what, const std::filesystem::path& path, int err) {
    return std::runtime_error(what + " " + path.string() + ": " + std::strerror(err));
}

// The folder must be a real folder of this user: another user's could announce false windows.
bool ownFolder(const std::filesystem::path& dir) {
    struct stat st {};
    return ::lstat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid();
}

bool parsePid(const std::string& name, pid_t& pid) {
    const auto dot = name.find('.');
    const std::string digits = name.substr(0, dot);
    if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos ||
        digits.size() > 9)
        return false;
    if (dot != std::string::npos) {
        const std::string n = name.substr(dot + 1);
        if (n.empty() || n.find_first_not_of("0123456789") != std::string::npos) return false;
    }
    pid = static_cast<pid_t>(std::stol(digits));
    return pid > 0;
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
    const std::string text = processInfo(self).startTime + "\n" + title;
    for (int n = 0;; ++n) {
        const auto entry =
            dir_ / (std::to_string(self) + (n ? "." + std::to_string(n) : std::string()));
        try {
            writeAtomically(entry, text, false);
            return entry;
        } catch (const std::runtime_error&) {
            if (!std::filesystem::exists(entry) || n > 1000) throw;
        }
    }
}

void WindowDirectory::retitle(const std::filesystem::path& entry, const std::string& title) const {
    writeAtomically(entry, processInfo(::getpid()).startTime + "\n" + title, true);
}

void WindowDirectory::withdraw(const std::filesystem::path& entry) const noexcept {
    ::unlink(entry.c_str());
}

std::vector<AnnouncedWindow> WindowDirectory::windows() const {
    std::vector<AnnouncedWindow> found;
    if (!ownFolder(dir_)) return found;
    std::error_code ec;
    for (const auto& item : std::filesystem::directory_iterator(dir_, ec)) {
        pid_t pid = 0;
        if (!parsePid(item.path().filename().string(), pid)) continue;
        std::ifstream in(item.path(), std::ios::binary);
        std::string startTime, title;
        if (!in || !std::getline(in, startTime)) continue;
        title.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        const bool gone = ::kill(pid, 0) != 0 && errno == ESRCH;
        const ProcessInfo info = processInfo(pid);
        const bool reused = info.readable && startTime != "0" && startTime != info.startTime;
        if (gone || reused || info.state == 'Z') {
            if (gone || reused) withdraw(item.path());
            continue;
        }
        found.push_back({pid, title, item.path()});
    }
    return found;
}

bool WindowDirectory::contains(const std::string& title) const {
    for (const auto& w : windows())
        if (w.title == title) return true;
    return false;
}

} // namespace velmora::windows
