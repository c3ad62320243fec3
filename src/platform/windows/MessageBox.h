// The system's modal message box: a text, a title, buttons and an icon; answers the button pressed.
// Tests and the scripted host use the recording box, which keeps what was shown.
#pragma once

#include <deque>
#include <string>
#include <vector>

namespace velmora::windows {

enum MsgBoxStyle {
    vbOKOnly = 0,
    vbYesNo = 4,
    vbQuestion = 32,
    vbExclamation = 48,
    vbInformation = 64
};
enum MsgBoxResult { vbOK = 1, vbCancel = 2, vbYes = 6, vbNo = 7 };

class MessageBox {
  public:
    virtual ~MessageBox() = default;
    virtual int show(const std::string& text, const std::string& title, int style) = 0;
};

// Records what it was asked to show and answers from a queue; an empty queue answers Yes or OK.
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
