// The system's modal message box: a text, a title, buttons and an icon; answers the button pressed.
// The console box prints and takes scripted answers; tests record what was shown.
#pragma once

#include <string>

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

} // namespace velmora::windows
