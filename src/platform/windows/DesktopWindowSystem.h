// The window system of a Linux desktop session: finds the titles other processes announced in
// the window folder and starts programs detached from the caller.
#pragma once

#include "platform/windows/WindowDirectory.h"
#include "platform/windows/WindowSystem.h"

namespace velmora::windows {

class DesktopWindowSystem : public WindowSystem {
  public:
    DesktopWindowSystem() : DesktopWindowSystem(WindowDirectory(WindowDirectory::defaultPath())) {}
    explicit DesktopWindowSystem(WindowDirectory directory) : directory_(std::move(directory)) {}

    bool FindWindow(const std::string& title) override { return directory_.contains(title); }
    // A program name without "/" is looked up on PATH. The program runs in its own session
    // with standard input from /dev/null and is never waited for; a program that is missing,
    // not executable or fails to load raises "Cannot start <program>: <reason>" at once.
    void StartProcess(const std::string& program, const std::vector<std::string>& args) override;
    // There is no pointer to change on a console; the state is kept for callers to see.
    void SetWaitCursor(bool wait) override { waitCursor_ = wait; }
    bool waitCursor() const { return waitCursor_; }

  private:
    WindowDirectory directory_;
    bool waitCursor_ = false;
};

} // namespace velmora::windows
