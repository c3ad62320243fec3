// The per-user folder through which processes announce their top-level windows: one file per
// window, named by the owner's pid, holding the owner's start time and the window title.
#pragma once

#include <filesystem>
#include <string>
#include <sys/types.h>
#include <vector>

namespace velmora::windows {

struct AnnouncedWindow {
    pid_t pid;
    std::string title;
    std::filesystem::path entry;
};

class WindowDirectory {
  public:
    explicit WindowDirectory(std::filesystem::path dir) : dir_(std::move(dir)) {}
    // VELMORA_WINDOWS_DIR, else $XDG_RUNTIME_DIR/velmora-windows, else /tmp/velmora-windows-<uid>.
    static std::filesystem::path defaultPath();
    const std::filesystem::path& path() const { return dir_; }

    // Writes a new entry for this process ("<pid>", or "<pid>.<n>" for a further window) and
    // returns its file. Raises std::runtime_error when the folder cannot be made or written,
    // or belongs to another user.
    std::filesystem::path announce(const std::string& title) const;
    // Replaces an entry's title atomically.
    void retitle(const std::filesystem::path& entry, const std::string& title) const;
    // Removes an entry; never raises.
    void withdraw(const std::filesystem::path& entry) const noexcept;

    // The windows of live processes. Entries of processes that are gone (or whose pid now
    // names a later process) are removed on the way; a missing folder has no windows.
    std::vector<AnnouncedWindow> windows() const;
    bool contains(const std::string& title) const;

  private:
    void writeAtomically(const std::filesystem::path& target, const std::string& text,
                         bool replace) const;
    std::filesystem::path dir_;
};

} // namespace velmora::windows
