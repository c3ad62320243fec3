// Removing leading and trailing blanks, as the add-in trims every name, subject and key it
// compares: spaces only, so a tab or line break inside a text is kept as the user wrote it.
#pragma once

#include <string>
#include <string_view>

namespace velmora {

inline std::string trimBlanks(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return std::string(text.substr(first, text.find_last_not_of(' ') - first + 1));
}

} // namespace velmora
