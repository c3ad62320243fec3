// Mail keys, history date texts and attachment MIME types.
// Dates are written from their calendar fields as plain numbers, without padding.
#include "links/MailKeys.h"

#include "platform/clock/CalendarText.h"
#include "platform/text/AsciiText.h"
#include "store/TrimBlanks.h"

#include <algorithm>
#include <cctype>
#include <charconv>

namespace velmora {

std::string newMailID(host::DateTime creationTime) {
    const timekeeping::CalendarFields f = timekeeping::calendarFields(creationTime);
    return "OutlookID" + std::to_string(f.year) + std::to_string(f.month) + std::to_string(f.day) +
           std::to_string(f.hour) + std::to_string(f.minute) + std::to_string(f.second);
}

std::string newMailID(const host::Item& mail) {
    return newMailID(mail.Date("CreationTime"));
}

std::string suffixedMailID(const std::string& plainKey, int n) {
    return n < 2 ? plainKey : plainKey + "-" + std::to_string(n);
}

std::optional<int> suffixNumber(std::string_view key, std::string_view plainKey) {
    if (key.substr(0, plainKey.size()) != plainKey) return std::nullopt;
    if (key.size() == plainKey.size()) return 1;
    const std::string_view rest = key.substr(plainKey.size());
    // Written by suffixedMailID only: "-", then a number from 2 up without a leading zero.
    if (rest.size() < 2 || rest[0] != '-' || rest[1] == '0') return std::nullopt;
    int n = 0;
    const char* end = rest.data() + rest.size();
    const auto [stop, error] = std::from_chars(rest.data() + 1, end, n);
    if (error != std::errc() || stop != end || n < 2) return std::nullopt;
    return n;
}

bool isSubstituteKey(std::string_view key) {
    constexpr std::string_view prefix = "outlookid";
    return key.size() >= prefix.size() && text::equalsLowered(key.substr(0, prefix.size()), prefix);
}

std::string dateTimeText(host::DateTime time) {
    const timekeeping::CalendarFields f = timekeeping::calendarFields(time);
    return std::to_string(f.year) + "-" + std::to_string(f.month) + "-" + std::to_string(f.day) +
           " " + std::to_string(f.hour) + ":" + std::to_string(f.minute) + ":" +
           std::to_string(f.second);
}

std::string getMimeType(std::string_view fileName) {
    const auto dot = fileName.find('.');
    if (dot == std::string_view::npos || dot == 0) return "application/octet-stream";
    const std::string ext = text::lower(trimBlanks(fileName.substr(dot + 1)));
    if (ext == "txt" || ext == "ini") return "text/plain";
    if (ext == "htm" || ext == "html") return "text/html";
    if (ext == "jpg" || ext == "jpeg") return "image/jpeg";
    if (ext == "gif") return "image/gif";
    if (ext == "bmp") return "image/bmp";
    if (ext == "zip") return "application/zip";
    if (ext == "pdf") return "application/pdf";
    if (ext == "eml") return "message/rfc822";
    // exe, bin, com and everything not listed above.
    return "application/octet-stream";
}

} // namespace velmora
