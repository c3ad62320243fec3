// The fake window system's program start: a refusal for the programs marked failing, a record
// and the test's hook for the others.
#include "platform/windows/WindowSystem.h"

#include <stdexcept>

namespace velmora::windows {

void FakeWindowSystem::StartProcess(const std::string& program,
                                    const std::vector<std::string>& args) {
    if (failing.count(program))
        throw std::runtime_error("Cannot start " + program + ": No such file or directory");
    started.emplace_back(program, args);
    if (onStart) onStart(program, args);
}

} // namespace velmora::windows
