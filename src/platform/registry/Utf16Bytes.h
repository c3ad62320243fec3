// UTF-16LE bytes, in which a registry editor writes its export files and its string values, to
// and from the UTF-8 the registry file keeps. Both conversions are strict: nothing is replaced.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace velmora::registry {

// The UTF-8 text of UTF-16LE bytes; std::nullopt for an odd byte count or a lone surrogate.
std::optional<std::string> utf8FromUtf16le(std::string_view bytes);

// The UTF-16LE bytes of UTF-8 text; std::nullopt when the text is not UTF-8.
std::optional<std::string> utf16leFromUtf8(std::string_view utf8);

} // namespace velmora::registry
