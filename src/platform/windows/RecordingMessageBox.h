// A message box for tests and scripted runs: remembers every box shown and answers from a queue.
// With no queued answer a Yes/No box answers Yes and every other box OK.
#pragma once

#include "platform/windows/MessageBox.h"

#include <deque>
#include <string>
#include <vector>

namespace velmora::windows {

class RecordingMessageBox : public MessageBox {
  public:
    struct Shown {
        std::string text, title;
        int style;
    };

    int show(const std::string& text, const std::string& title, int style) override;
    // The text of the last box shown, "" when none was.
    std::string lastText() const;
    // Forgets what was shown and the answers still queued.
    void clear();

    std::vector<Shown> shown;
    std::deque<int> answers;
};

} // namespace velmora::windows
