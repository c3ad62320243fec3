// Case-insensitive text helpers for the in-memory host: property names, bar names and filter
// values compare without regard to ASCII case; other bytes (UTF-8 Chinese text) compare exactly.
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

// Compares a with b, where b is already lower-case: the filter engine lowers its values once.
inline int compareToLowered(std::string_view a, std::string_view loweredB) {
    const std::size_t n = a.size() < loweredB.size() ? a.size() : loweredB.size();
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(lowerChar(a[i]));
        const auto cb = static_cast<unsigned char>(loweredB[i]);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == loweredB.size()) return 0;
    return a.size() < loweredB.size() ? -1 : 1;
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
