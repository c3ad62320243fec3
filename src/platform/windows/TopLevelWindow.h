// A top-level window as other processes see it: announced in the per-user window folder while
// the object lives, withdrawn when it is destroyed. The companion stand-in shows one.
#pragma once

#include <filesystem>
#include <string>

namespace velmora::windows {

// The per-user folder through which processes announce their top-level windows: one file per
// window, named by the owner's pid, holding the owner's start time and the window title.
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

  private:
    void writeAtomically(const std::filesystem::path& target, const std::string& text,
                         bool replace) const;
    std::filesystem::path dir_;
};

class TopLevelWindow {
  public:
    // Raises std::runtime_error when the window folder cannot be written.
    explicit TopLevelWindow(std::string title, WindowDirectory directory =
                                                   WindowDirectory(WindowDirectory::defaultPath()));
    ~TopLevelWindow();
    TopLevelWindow(const TopLevelWindow&) = delete;
    TopLevelWindow& operator=(const TopLevelWindow&) = delete;

    const std::string& title() const { return title_; }
    void setTitle(std::string title);
    const std::filesystem::path& entry() const { return entry_; }

  private:
    WindowDirectory directory_;
    std::string title_;
    std::filesystem::path entry_;
};

} // namespace velmora::windows
