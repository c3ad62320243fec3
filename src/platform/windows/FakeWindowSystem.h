// A window system for tests and the scripted host: open window titles and started programs
// are plain lists the caller sets and reads; a program listed as failing cannot start.
#pragma once

#include "platform/windows/WindowSystem.h"

#include <functional>
#include <set>
#include <stdexcept>
#include <utility>

namespace velmora::windows {

class FakeWindowSystem : public WindowSystem {
  public:
    bool FindWindow(const std::string& title) override { return openWindows.count(title) > 0; }
    void StartProcess(const std::string& program, const std::vector<std::string>& args) override;
    void SetWaitCursor(bool wait) override { waitCursor = wait; }

    std::set<std::string> openWindows;
    std::set<std::string> failing;
    std::vector<std::pair<std::string, std::vector<std::string>>> started;
    std::function<void(const std::string&, const std::vector<std::string>&)> onStart;
    bool waitCursor = false;
};

} // namespace velmora::windows
