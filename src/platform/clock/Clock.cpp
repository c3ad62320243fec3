// The time text shared by every clock: a strftime pattern applied to a local time.
// %p is resolved here, by language, because the host shows its own morning/afternoon words.
#include "platform/clock/Clock.h"
#include "platform/clock/CalendarText.h"
#include "platform/text/Bilingual.h"

#include <ctime>
#include <string_view>

namespace velmora::timekeeping {

namespace {

// The composite conversions spelt out, so that a %p inside %r follows the language too.
std::string expandComposites(std::string_view pattern) {
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] != '%' || i + 1 == pattern.size()) {
            out += pattern[i];
            continue;
        }
        const char c = pattern[++i];
        if (c == 'r')
            out += "%I:%M:%S %p";
        else if (c == 'X' || c == 'T')
            out += "%H:%M:%S";
        else if (c == 'R')
            out += "%H:%M";
        else {
            out += '%';
            out += c;
        }
    }
    return out;
}

constexpr text::Bilingual morningMarker{.english = "AM", .chinese = "上午"};
constexpr text::Bilingual afternoonMarker{.english = "PM", .chinese = "下午"};

std::string resolveMarker(std::string_view pattern, bool chinese, bool afternoon) {
    const std::string marker = (afternoon ? afternoonMarker : morningMarker).in(chinese);
    std::string out;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == '%' && i + 1 < pattern.size()) {
            if (pattern[i + 1] == 'p') {
                out += marker;
                ++i;
                continue;
            }
            out += pattern[i];
            out += pattern[++i];
            continue;
        }
        out += pattern[i];
    }
    return out;
}

} // namespace

Clock::Clock(std::string defaultFormat)
    : defaultFormat_(std::move(defaultFormat)), timeFormat_(defaultFormat_) {}

void Clock::setTimeFormat(const std::string& pattern) {
    timeFormat_ = pattern.empty() ? defaultFormat_ : pattern;
}

std::string Clock::timeText(DateTime when, bool chinese) const {
    using namespace std::chrono;
    const auto day = floor<days>(when);
    const CalendarFields f = calendarFields(when);
    std::tm fields{};
    fields.tm_year = f.year - 1900;
    fields.tm_mon = f.month - 1;
    fields.tm_mday = f.day;
    fields.tm_hour = f.hour;
    fields.tm_min = f.minute;
    fields.tm_sec = f.second;
    fields.tm_wday = static_cast<int>(weekday{day}.c_encoding());
    fields.tm_yday = static_cast<int>((day - sys_days{year{f.year} / January / 1}).count());

    const std::string pattern =
        resolveMarker(expandComposites(timeFormat_), chinese, fields.tm_hour >= 12);
    char buf[256];
    const std::size_t n = std::strftime(buf, sizeof buf, pattern.c_str(), &fields);
    // strftime gives 0 both for an overlong and for an empty text; an empty text is harmless.
    return std::string(buf, n);
}

} // namespace velmora::timekeeping
