// Charset conversion over iconv: lenient for declared charsets (a bad byte becomes U+FFFD and
// the rest is kept), strict while guessing, so that a wrong guess is dropped, not used.
#include "platform/mailbox/Charsets.h"

#include "platform/mailbox/GMimeSupport.h"

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <iconv.h>
#include <optional>

namespace velmora::mailbox {
namespace {

constexpr std::string_view replacement = "\xEF\xBF\xBD";

std::string iconvName(std::string_view charset) {
    std::string lower(charset);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](char c) { return g_ascii_tolower(c); });
    for (const char* chinese :
         {"gb2312", "gbk", "x-gbk", "cp936", "euc-cn", "x-euc-cn", "csgb2312"})
        if (lower == chinese) return "GB18030";
    ensureGMime();
    return g_mime_charset_iconv_name(lower.c_str());
}

// iconv_open answers (iconv_t)-1 when it cannot convert.
bool opened(iconv_t cd) {
    return reinterpret_cast<std::intptr_t>(cd) != -1;
}

// The bytes in UTF-8; none when iconv cannot read the charset, or when strict and a byte does
// not belong to it. Otherwise such a byte becomes U+FFFD and lossy is set.
std::optional<std::string> convert(std::string_view bytes, const std::string& from, bool strict,
                                   bool& lossy) {
    iconv_t cd = iconv_open("UTF-8", from.c_str());
    if (!opened(cd)) return std::nullopt;
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2 + 16);
    char* in = const_cast<char*>(bytes.data());
    std::size_t inLeft = bytes.size();
    char buffer[4096];
    bool failed = false;
    while (inLeft > 0 && !failed) {
        char* o = buffer;
        std::size_t oLeft = sizeof buffer;
        const std::size_t done = iconv(cd, &in, &inLeft, &o, &oLeft);
        out.append(buffer, static_cast<std::size_t>(o - buffer));
        if (done != static_cast<std::size_t>(-1) || errno == E2BIG) continue;
        lossy = true;
        failed = strict;
        out += replacement;
        ++in;
        --inLeft;
    }
    char* o = buffer;
    std::size_t oLeft = sizeof buffer;
    iconv(cd, nullptr, nullptr, &o, &oLeft);
    out.append(buffer, static_cast<std::size_t>(o - buffer));
    iconv_close(cd);
    if (failed) return std::nullopt;
    return out;
}

// GLib's check refuses NUL, which UTF-8 allows and junk in a mail may carry.
bool isUtf8(std::string_view bytes) {
    for (std::size_t start = 0; start <= bytes.size();) {
        const std::size_t nul = std::min(bytes.find('\0', start), bytes.size());
        if (!g_utf8_validate(bytes.data() + start, static_cast<gssize>(nul - start), nullptr))
            return false;
        start = nul + 1;
    }
    return true;
}

bool isAscii(std::string_view bytes) {
    return std::all_of(bytes.begin(), bytes.end(),
                       [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Text that declares no usable charset: UTF-8 when it is, else Chinese when it reads as such,
// else Western.
std::string guess(std::string_view bytes) {
    if (isUtf8(bytes)) return std::string(bytes);
    bool lossy = false;
    if (auto chinese = convert(bytes, "GB18030", true, lossy)) return *chinese;
    return convert(bytes, "WINDOWS-1252", false, lossy).value_or(validUtf8(bytes));
}

} // namespace

bool knownCharset(std::string_view charset) {
    iconv_t cd = iconv_open("UTF-8", iconvName(charset).c_str());
    if (!opened(cd)) return false;
    iconv_close(cd);
    return true;
}

DecodedText decodeText(std::string_view bytes, std::string_view charset) {
    if (isAscii(bytes)) return {std::string(bytes), ""};
    if (charset.empty()) return {guess(bytes), ""};
    bool lossy = false;
    auto text = convert(bytes, iconvName(charset), false, lossy);
    if (!text) return {guess(bytes), "unknown charset \"" + std::string(charset) + "\""};
    // iconv passes forms UTF-8 no longer allows (five-byte sequences) from a "UTF-8" source.
    if (!isUtf8(*text)) {
        *text = validUtf8(*text);
        lossy = true;
    }
    if (lossy)
        return {std::move(*text),
                "bytes not valid in charset " + std::string(charset) + " replaced"};
    return {std::move(*text), ""};
}

std::string validUtf8(std::string_view text) {
    if (isUtf8(text)) return std::string(text);
    const GText valid(g_utf8_make_valid(text.data(), static_cast<gssize>(text.size())));
    return valid.get();
}

} // namespace velmora::mailbox
