// Name helpers for the in-memory host: property, bar and folder names compare without regard to
// ASCII case. Texts the user compares (filter values) fold through platform/text instead.
#pragma once

#include <string>
#include <string_view>

namespace velmora::host::text {

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

inline std::string_view trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r\n");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t\r\n");
    return s.substr(first, last - first + 1);
}

} // namespace velmora::host::text
