// Window lookup by exact title and process start: how the add-in sees the companion program.
// Tests and the scripted host use the fake, whose windows and programs are plain lists.
#pragma once

#include <functional>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
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

// Open window titles and started programs are lists the caller sets and reads; a program listed
// as failing cannot start.
class FakeWindowSystem : public WindowSystem {
  public:
    bool FindWindow(const std::string& title) override { return openWindows.count(title) > 0; }
    // A refusal for the programs marked failing; a record and the test's hook for the others.
    void StartProcess(const std::string& program, const std::vector<std::string>& args) override {
        if (failing.count(program))
            throw std::runtime_error("Cannot start " + program + ": No such file or directory");
        started.emplace_back(program, args);
        if (onStart) onStart(program, args);
    }
    void SetWaitCursor(bool wait) override { waitCursor = wait; }

    std::set<std::string> openWindows;
    std::set<std::string> failing;
    std::vector<std::pair<std::string, std::vector<std::string>>> started;
    std::function<void(const std::string&, const std::vector<std::string>&)> onStart;
    bool waitCursor = false;
};

} // namespace velmora::windows
