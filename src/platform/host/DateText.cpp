// Date texts of the in-memory host: the Variant text form and the item filter form.
// Both are written and read here so that the two directions cannot drift apart.
#include "platform/host/DateText.h"

#include "platform/clock/CalendarText.h"
#include "platform/text/AsciiText.h"

namespace velmora::host {

namespace {

using namespace std::chrono;

// Reads 1..maxDigits decimal digits at pos; -1 when there is none.
int readNumber(std::string_view s, std::size_t& pos, int maxDigits) {
    int value = 0, digits = 0;
    while (pos < s.size() && digits < maxDigits && s[pos] >= '0' && s[pos] <= '9') {
        value = value * 10 + (s[pos] - '0');
        ++pos;
        ++digits;
    }
    return digits == 0 ? -1 : value;
}

bool expect(std::string_view s, std::size_t& pos, char c) {
    if (pos < s.size() && s[pos] == c) {
        ++pos;
        return true;
    }
    return false;
}

// Reads a number and the separator after it; -1 when either is missing.
int readNumberThen(std::string_view s, std::size_t& pos, int maxDigits, char separator) {
    const int value = readNumber(s, pos, maxDigits);
    return value >= 0 && expect(s, pos, separator) ? value : -1;
}

// Reads "H:MM" or "H:MM:SS" at pos; false when the text has another form there.
bool readTime(std::string_view s, std::size_t& pos, int& hh, int& mm, int& ss, bool& hasSeconds) {
    hh = readNumberThen(s, pos, 2, ':');
    mm = readNumber(s, pos, 2);
    if (hh < 0 || mm < 0) return false;
    hasSeconds = expect(s, pos, ':');
    return !hasSeconds || (ss = readNumber(s, pos, 2)) >= 0;
}

bool validDate(int y, int m, int d, int hh, int mm, int ss) {
    if (y < 1 || m < 1 || m > 12 || d < 1 || hh < 0 || hh > 23 || mm < 0 || mm > 59 || ss < 0 ||
        ss > 59)
        return false;
    return year_month_day{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}}
        .ok();
}

DateTime compose(int y, int m, int d, int hh, int mm, int ss) {
    const sys_days days{
        year_month_day{year{y}, month{static_cast<unsigned>(m)}, day{static_cast<unsigned>(d)}}};
    return DateTime{days} + hours{hh} + minutes{mm} + seconds{ss};
}

// How a date text lays out its three numbers and what may follow them.
struct DateLayout {
    char separator;
    // "Y-M-D" with a year of up to four digits, else "M/D/Y" with a year of exactly four.
    bool yearFirst;
    // Blanks before the time may repeat, and a 12-hour "AM"/"PM" marker may follow it.
    bool lenientTime;
};

struct DateFields {
    int y = 0, m = 0, d = 0, hh = 0, mm = 0, ss = 0;
    bool hasSeconds = false;
};

// Reads blanks and an "AM"/"PM" marker ending the text at pos, turning hh into the 24-hour clock.
// True when there is no marker (pos unmoved) or a valid one (pos at the end).
bool readMarker(std::string_view s, std::size_t& pos, int& hh) {
    std::size_t marker = pos;
    while (marker < s.size() && s[marker] == ' ')
        ++marker;
    if (marker == s.size()) return true;
    const std::string_view suffix = s.substr(marker);
    const bool am = text::iequals(suffix, "AM"), pm = text::iequals(suffix, "PM");
    if (marker == pos || !(am || pm) || hh < 1 || hh > 12) return false;
    if (am && hh == 12)
        hh = 0;
    else if (pm && hh != 12)
        hh += 12;
    pos = s.size();
    return true;
}

// Reads "number, separator, number, separator, number, optional time" laid out as layout says;
// the whole text is a valid date or the answer is empty.
std::optional<DateFields> readDate(std::string_view text, const DateLayout& layout) {
    const std::string_view s = text::trim(text);
    std::size_t pos = 0;
    const int first = readNumberThen(s, pos, layout.yearFirst ? 4 : 2, layout.separator);
    const int second = readNumberThen(s, pos, 2, layout.separator);
    const std::size_t lastStart = pos;
    const int last = readNumber(s, pos, layout.yearFirst ? 2 : 4);
    if (first < 0 || second < 0 || last < 0) return std::nullopt;
    if (!layout.yearFirst && pos - lastStart != 4) return std::nullopt;
    DateFields f = layout.yearFirst ? DateFields{.y = first, .m = second, .d = last}
                                    : DateFields{.y = last, .m = first, .d = second};
    if (pos < s.size()) {
        if (!expect(s, pos, ' ')) return std::nullopt;
        while (layout.lenientTime && expect(s, pos, ' ')) {
        }
        if (!readTime(s, pos, f.hh, f.mm, f.ss, f.hasSeconds)) return std::nullopt;
        if (layout.lenientTime && !readMarker(s, pos, f.hh)) return std::nullopt;
    }
    if (pos != s.size() || !validDate(f.y, f.m, f.d, f.hh, f.mm, f.ss)) return std::nullopt;
    return f;
}

DateTime compose(const DateFields& f) {
    return compose(f.y, f.m, f.d, f.hh, f.mm, f.ss);
}

} // namespace

std::string isoDateText(DateTime when) {
    return timekeeping::isoDateTimeText(when);
}

std::optional<DateTime> parseIsoDate(std::string_view text) {
    const auto fields = readDate(text, DateLayout{'-', true, false});
    if (!fields) return std::nullopt;
    return compose(*fields);
}

std::string filterDateText(DateTime when) {
    return timekeeping::filterDateTimeText(when);
}

std::optional<FilterDate> parseFilterDate(std::string_view text) {
    const auto fields = readDate(text, DateLayout{'/', false, true});
    if (!fields) return std::nullopt;
    return FilterDate{compose(*fields), fields->hasSeconds};
}

DateTime makeDate(int year, int month, int day, int hour, int minute, int second) {
    if (!validDate(year, month, day, hour, minute, second)) {
        throw HostError("Invalid date " + timekeeping::isoDateTimeText(timekeeping::CalendarFields{
                                              year, month, day, hour, minute, second}));
    }
    return compose(year, month, day, hour, minute, second);
}

} // namespace velmora::host
