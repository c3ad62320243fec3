// One text of the add-in in both its languages, English and Simplified Chinese: every caption and
// message is written as one, so a call cannot hand the two over in the wrong order.
#pragma once

#include <string>
#include <string_view>

namespace velmora::text {

// Written {.english = "...", .chinese = "..."}: the compiler refuses the two names in the other
// order, and -Wextra refuses a text left out (so neither member has a default).
struct Bilingual {
    std::string_view english;
    std::string_view chinese;

    // The text of the language the flag chooses.
    std::string in(bool isChinese) const { return std::string(isChinese ? chinese : english); }
};

} // namespace velmora::text
