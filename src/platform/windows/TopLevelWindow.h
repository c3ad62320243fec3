// A top-level window as other processes see it: announced in the window folder while the
// object lives, withdrawn when it is destroyed. The companion stand-in shows one.
#pragma once

#include "platform/windows/WindowDirectory.h"

#include <filesystem>
#include <string>

namespace velmora::windows {

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
