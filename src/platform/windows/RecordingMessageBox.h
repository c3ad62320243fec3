// A message box that records what it was asked to show and answers from a queue.
// Tests and the scripted host read the record; an empty queue answers Yes or OK.
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
    std::string lastText() const;
    void clear();

    std::vector<Shown> shown;
    std::deque<int> answers;
};

} // namespace velmora::windows
