// Removing leading and trailing blanks, as the add-in trims every name, subject and key it
// compares: spaces only, so a tab or line break inside a text is kept as the user wrote it.
#pragma once

#include "platform/text/AsciiText.h"

#include <string>
#include <string_view>

namespace velmora {

inline std::string trimBlanks(std::string_view text) {
    return std::string(text::trim(text, " "));
}

} // namespace velmora
