// Walking UTF-8 text by characters (code points) instead of bytes, so that a text is never cut
// inside a character. A byte that starts no valid sequence counts as one character of its own.
#pragma once

#include <cstddef>
#include <string_view>

namespace velmora::text {

// How many characters the text holds ("王小明" holds three, in nine bytes).
std::size_t characterCount(std::string_view utf8);

// The first count characters, or the whole text when it holds no more.
std::string_view leadingCharacters(std::string_view utf8, std::size_t count);

// The longest prefix of at most maxBytes bytes that ends at a character boundary.
std::string_view prefixWithinBytes(std::string_view utf8, std::size_t maxBytes);

} // namespace velmora::text
