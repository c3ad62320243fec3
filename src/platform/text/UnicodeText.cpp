// Unicode case folding over ICU. ASCII-only text, the common case for addresses and most names,
// is folded without converting to UTF-16.
#include "platform/text/UnicodeText.h"

#include "platform/text/AsciiText.h"

#include <unicode/stringpiece.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>

#include <algorithm>

namespace velmora::text {

bool isAscii(std::string_view s) {
    return std::all_of(s.begin(), s.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

std::string foldCase(std::string_view utf8) {
    if (isAscii(utf8)) return lower(utf8);
    std::string out;
    icu::UnicodeString text = icu::UnicodeString::fromUTF8(
        icu::StringPiece(utf8.data(), static_cast<int32_t>(utf8.size())));
    text.foldCase(U_FOLD_CASE_DEFAULT);
    text.toUTF8String(out);
    return out;
}

bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (isAscii(a) && isAscii(b)) return iequals(a, b);
    return foldCase(a) == foldCase(b);
}

int compareFolded(std::string_view a, std::string_view foldedB) {
    if (!isAscii(a)) return std::string_view(foldCase(a)).compare(foldedB);
    const std::size_t n = std::min(a.size(), foldedB.size());
    for (std::size_t i = 0; i < n; ++i) {
        const auto ca = static_cast<unsigned char>(lowerChar(a[i]));
        const auto cb = static_cast<unsigned char>(foldedB[i]);
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() == foldedB.size()) return 0;
    return a.size() < foldedB.size() ? -1 : 1;
}

} // namespace velmora::text
