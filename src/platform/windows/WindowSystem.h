// Window lookup by exact title and process start: how the add-in sees the companion program.
// The desktop implementation finds windows other processes announced; tests use a fake.
#pragma once

#include <string>
#include <vector>

namespace velmora::windows {

class WindowSystem {
  public:
    virtual ~WindowSystem() = default;
    // True when a top-level window has exactly this title (any class, any process).
    virtual bool FindWindow(const std::string& title) = 0;
    // Starts a program; raises std::runtime_error with a description when it cannot be started.
    virtual void StartProcess(const std::string& program, const std::vector<std::string>& args) = 0;
    // The hourglass while a long step runs.
    virtual void SetWaitCursor(bool wait) = 0;
};

} // namespace velmora::windows
