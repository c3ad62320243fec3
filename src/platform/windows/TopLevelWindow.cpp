// The announced window's lifetime: the entry file exists exactly as long as the object.
// A process killed without unwinding leaves its entry, which scanners drop as stale.
#include "platform/windows/TopLevelWindow.h"

namespace velmora::windows {

TopLevelWindow::TopLevelWindow(std::string title, WindowDirectory directory)
    : directory_(std::move(directory)), title_(std::move(title)),
      entry_(directory_.announce(title_)) {}

TopLevelWindow::~TopLevelWindow() {
    directory_.withdraw(entry_);
}

void TopLevelWindow::setTitle(std::string title) {
    directory_.retitle(entry_, title);
    title_ = std::move(title);
}

} // namespace velmora::windows
