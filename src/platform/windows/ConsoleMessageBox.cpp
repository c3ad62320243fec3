// The console message box: one line per box, then the answer read from the input stream.
// Only the button sets OK, OK/Cancel, Yes/No/Cancel and Yes/No are offered; others show OK.
#include "platform/windows/ConsoleMessageBox.h"

#include <string>
#include <utility>
#include <vector>

namespace velmora::windows {

namespace {

using Button = std::pair<const char*, int>;

std::vector<Button> buttonsOf(int style) {
    switch (style & 0xF) {
    case 1:
        return {{"OK", vbOK}, {"Cancel", vbCancel}};
    case 3:
        return {{"Yes", vbYes}, {"No", vbNo}, {"Cancel", vbCancel}};
    case vbYesNo:
        return {{"Yes", vbYes}, {"No", vbNo}};
    default:
        return {{"OK", vbOK}};
    }
}

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

std::string trimmed(const std::string& s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return s.substr(first, s.find_last_not_of(" \t\r") - first + 1);
}

} // namespace

int ConsoleMessageBox::show(const std::string& text, const std::string& title, int style) {
    const auto buttons = buttonsOf(style);
    std::string names;
    for (const auto& [name, code] : buttons)
        names += (names.empty() ? "" : "/") + std::string(name);
    out_ << "[" << title << "] " << text << "  [" << names << "]\n" << std::flush;
    if (buttons.size() == 1) return buttons.front().second;
    std::string line;
    while (std::getline(in_, line)) {
        const std::string answer = lower(trimmed(line));
        for (const auto& [name, code] : buttons)
            if (!answer.empty() && (answer == lower(name) || answer == lower(name).substr(0, 1)))
                return code;
        out_ << "Please answer " << names << "\n" << std::flush;
    }
    // The last button is the one that changes nothing.
    return buttons.back().second;
}

} // namespace velmora::windows
