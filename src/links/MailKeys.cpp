// Mail keys, history date texts and attachment MIME types.
// Dates are written from their calendar fields as plain numbers, without padding.
#include "links/MailKeys.h"

#include "platform/clock/CalendarText.h"
#include "platform/text/AsciiText.h"
#include "store/TrimBlanks.h"

#include <algorithm>
#include <cctype>

namespace velmora {

std::string newMailID(host::DateTime creationTime) {
    const timekeeping::CalendarFields f = timekeeping::calendarFields(creationTime);
    return "OutlookID" + std::to_string(f.year) + std::to_string(f.month) + std::to_string(f.day) +
           std::to_string(f.hour) + std::to_string(f.minute) + std::to_string(f.second);
}

std::string newMailID(const host::Item& mail) {
    return newMailID(mail.Date("CreationTime"));
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
