// The recording message box: shown boxes in order, answers taken from the front of the queue.
// The default answer is the first button, as Enter would pick it.
#include "platform/windows/MessageBox.h"

namespace velmora::windows {

namespace {

// The button set is the low four bits of the style: 3 Yes/No/Cancel, 4 Yes/No.
bool asksYesOrNo(int style) {
    const int buttons = style & 0xF;
    return buttons == 3 || buttons == vbYesNo;
}

} // namespace

int RecordingMessageBox::show(const std::string& text, const std::string& title, int style) {
    shown.push_back({text, title, style});
    if (!answers.empty()) {
        const int answer = answers.front();
        answers.pop_front();
        return answer;
    }
    return asksYesOrNo(style) ? vbYes : vbOK;
}

std::string RecordingMessageBox::lastText() const {
    return shown.empty() ? "" : shown.back().text;
}

void RecordingMessageBox::clear() {
    shown.clear();
    answers.clear();
}

} // namespace velmora::windows
