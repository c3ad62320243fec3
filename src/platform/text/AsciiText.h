// Names compared without regard to ASCII case: tables, columns, keys, host members, properties,
// bars and folders. Texts a user compares fold through UnicodeText instead.
#pragma once

#include <string>
#include <string_view>

namespace velmora::text {

inline char lowerChar(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

inline std::string lower(std::string_view s) {
    std::string out(s);
    for (char& c : out)
        c = lowerChar(c);
    return out;
}

inline bool iequals(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerChar(a[i]) != lowerChar(b[i])) return false;
    return true;
}

inline bool equalsLowered(std::string_view a, std::string_view loweredB) {
    if (a.size() != loweredB.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerChar(a[i]) != loweredB[i]) return false;
    return true;
}

// The blanks each caller trims: white space for names and keys, narrower sets where the user's
// own tabs or line breaks inside a text must survive.
inline constexpr std::string_view whiteSpace = " \t\r\n\v\f";

inline std::string_view trim(std::string_view s, std::string_view blanks = whiteSpace) {
    const auto first = s.find_first_not_of(blanks);
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(blanks);
    return s.substr(first, last - first + 1);
}

} // namespace velmora::text
