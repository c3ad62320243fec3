// Mail keys and the small texts the mail links are built from: the substitute key of a mail
// still on its way out, the history date text and the MIME type of an attachment's file name.
#pragma once

#include "platform/host/ObjectModel.h"

#include <optional>
#include <string>
#include <string_view>

namespace velmora {

// "OutlookID" followed by year, month, day, hour, minute and second without leading zeros.
std::string newMailID(host::DateTime creationTime);
std::string newMailID(const host::Item& mail);

// The n-th substitute key for mails sharing one plain key: the plain key itself for the first,
// then plain key + "-" + n. The "-" keeps it apart from every plain key, which is all digits.
std::string suffixedMailID(const std::string& plainKey, int n);
// n when key is the n-th substitute key of plainKey (1 for the plain key), else nothing.
std::optional<int> suffixNumber(std::string_view key, std::string_view plainKey);

// True for a key made by newMailID: it begins with "OutlookID" in any letter case.
bool isSubstituteKey(std::string_view key);

// year-month-day hour:minute:second, every number without leading zeros (2003-7-5 9:4:3).
std::string dateTimeText(host::DateTime time);

// The MIME type for the text after the first "." of a file name; octet-stream when unknown.
std::string getMimeType(std::string_view fileName);

} // namespace velmora
