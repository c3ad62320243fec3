// The hourglass for as long as a dialog step runs: set on construction, restored on
// destruction, so an early return or an exception never leaves the cursor waiting.
#pragma once

#include "dialogs/common/DialogContext.h"
#include "platform/windows/WindowSystem.h"

namespace velmora::dialogs {

class WaitCursor {
  public:
    explicit WaitCursor(const DialogContext& state) : state_(state) { set(true); }
    ~WaitCursor() { set(false); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

  private:
    void set(bool wait) {
        if (state_.platform.windowSystem) state_.platform.windowSystem->SetWaitCursor(wait);
    }
    const DialogContext& state_;
};

} // namespace velmora::dialogs
