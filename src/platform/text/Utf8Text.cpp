// UTF-8 walking over ICU's macros, which step over a malformed sequence as one unit, so a cut
// made here never leaves half a character behind.
#include "platform/text/Utf8Text.h"

#include <unicode/utf8.h>

#include <cstdint>

namespace velmora::text {

namespace {

// The byte offset after the next character at offset at.
std::size_t nextBoundary(std::string_view utf8, std::size_t at) {
    auto offset = static_cast<int32_t>(at);
    U8_FWD_1(utf8.data(), offset, static_cast<int32_t>(utf8.size()));
    return static_cast<std::size_t>(offset);
}

} // namespace

std::size_t characterCount(std::string_view utf8) {
    std::size_t count = 0;
    for (std::size_t at = 0; at < utf8.size(); at = nextBoundary(utf8, at))
        ++count;
    return count;
}

std::string_view leadingCharacters(std::string_view utf8, std::size_t count) {
    std::size_t end = 0;
    for (std::size_t seen = 0; seen < count && end < utf8.size(); ++seen)
        end = nextBoundary(utf8, end);
    return utf8.substr(0, end);
}

std::string_view prefixWithinBytes(std::string_view utf8, std::size_t maxBytes) {
    std::size_t end = 0;
    for (;;) {
        if (end >= utf8.size()) return utf8;
        const std::size_t next = nextBoundary(utf8, end);
        if (next > maxBytes) return utf8.substr(0, end);
        end = next;
    }
}

} // namespace velmora::text
