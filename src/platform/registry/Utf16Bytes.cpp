// The UTF-16 conversions over ICU's strict converters. Zero bytes convert like any other
// character, since a registry string value carries its terminator inside the data.
#include "platform/registry/Utf16Bytes.h"

#include <unicode/ustring.h>

#include <vector>

namespace velmora::registry {

std::optional<std::string> utf8FromUtf16le(std::string_view bytes) {
    if (bytes.size() % 2 != 0) return std::nullopt;
    std::vector<UChar> units(bytes.size() / 2);
    for (std::size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<UChar>(static_cast<unsigned char>(bytes[2 * i]) |
                                      static_cast<unsigned char>(bytes[2 * i + 1]) << 8);
    // A UTF-16 unit becomes at most three UTF-8 bytes.
    std::string out(units.size() * 3, '\0');
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    u_strToUTF8(out.data(), static_cast<int32_t>(out.size()), &length, units.data(),
                static_cast<int32_t>(units.size()), &status);
    if (U_FAILURE(status)) return std::nullopt;
    out.resize(static_cast<std::size_t>(length));
    return out;
}

std::optional<std::string> utf16leFromUtf8(std::string_view utf8) {
    // A UTF-8 byte becomes at most one UTF-16 unit.
    std::vector<UChar> units(utf8.size());
    UErrorCode status = U_ZERO_ERROR;
    int32_t length = 0;
    u_strFromUTF8(units.data(), static_cast<int32_t>(units.size()), &length, utf8.data(),
                  static_cast<int32_t>(utf8.size()), &status);
    if (U_FAILURE(status)) return std::nullopt;
    std::string out;
    out.reserve(2 * static_cast<std::size_t>(length));
    for (int32_t i = 0; i < length; ++i) {
        out += static_cast<char>(units[static_cast<std::size_t>(i)] & 0xff);
        out += static_cast<char>(units[static_cast<std::size_t>(i)] >> 8);
    }
    return out;
}

} // namespace velmora::registry
