// Date texts of the in-memory host: the one form Variant text uses ("YYYY-MM-DD HH:MM:SS") and
// the one form item filters accept ("MM/DD/YYYY" with an optional "HH:MM" time).
#pragma once

#include "platform/host/ObjectModel.h"

#include <optional>
#include <string>
#include <string_view>

namespace velmora::host {

struct FilterDate {
    DateTime when{};
    bool hasSeconds = false; // false: the item side is compared to the minute
};

// "YYYY-MM-DD HH:MM:SS", always with the time.
std::string isoDateText(DateTime when);
// Accepts "YYYY-MM-DD", "YYYY-MM-DD HH:MM" and "YYYY-MM-DD HH:MM:SS".
std::optional<DateTime> parseIsoDate(std::string_view text);

// Writes the filter form "MM/DD/YYYY HH:MM" (24-hour), which parseFilterDate reads back.
std::string filterDateText(DateTime when);
// Reads "M/D/YYYY", optionally followed by " H:MM" or " H:MM:SS" (24-hour) and an optional
// " AM"/" PM"; month and day may have one or two digits. Empty when the text has another form.
std::optional<FilterDate> parseFilterDate(std::string_view text);

// A date built from its parts; raises HostError for an impossible date.
DateTime makeDate(int year, int month, int day, int hour = 0, int minute = 0, int second = 0);

} // namespace velmora::host
