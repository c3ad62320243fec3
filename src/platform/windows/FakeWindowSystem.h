// A window system for tests: the open window titles are a set the test fills, started programs
// are recorded, and a hook lets starting a program open its window.
#pragma once

#include "platform/windows/WindowSystem.h"

#include <functional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace velmora::windows {

class FakeWindowSystem : public WindowSystem {
  public:
    bool FindWindow(const std::string& title) override { return openWindows.count(title) > 0; }
    // Programs in failing raise as a missing program would; the others are recorded, then
    // handed to onStart when it is set.
    void StartProcess(const std::string& program, const std::vector<std::string>& args) override;
    void SetWaitCursor(bool wait) override { waitCursor = wait; }

    std::set<std::string> openWindows;
    std::vector<std::pair<std::string, std::vector<std::string>>> started;
    std::set<std::string> failing;
    bool waitCursor = false;
    std::function<void(const std::string& program, const std::vector<std::string>& args)> onStart;
};

} // namespace velmora::windows
