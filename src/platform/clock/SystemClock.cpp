// The real clock. This is the one place that reads the system clock; everything else asks a
// Clock, so that tests and scripts can fix the time.
#include "platform/clock/SystemClock.h"

#include <ctime>
#include <langinfo.h>
#include <locale.h>

namespace velmora::timekeeping {

namespace {

constexpr const char* kPlainFormat = "%H:%M:%S";

} // namespace

SystemClock::SystemClock() : Clock(localeTimeFormat()) {}

DateTime SystemClock::now() const {
    const auto utc = std::chrono::floor<std::chrono::seconds>(std::chrono::system_clock::now());
    if (zone_) return utc + zone_->offsetAt(utc);
    const std::time_t t = std::chrono::system_clock::to_time_t(utc);
    // tzset re-reads TZ, so a zone changed in the environment applies from the next reading.
    tzset();
    std::tm local{};
    if (!localtime_r(&t, &local)) return utc;
    return utc + std::chrono::seconds{local.tm_gmtoff};
}

void SystemClock::setZone(std::string_view name) {
    if (name.empty()) {
        zone_.reset();
        return;
    }
    zone_ = ZoneRules::load(name);
}

std::string SystemClock::localeTimeFormat() {
    // A locale object of its own: the process's global locale stays as it is.
    const locale_t locale = newlocale(LC_TIME_MASK, "", static_cast<locale_t>(nullptr));
    if (!locale) return kPlainFormat;
    std::string format = nl_langinfo_l(T_FMT, locale);
    // %r is the locale's own 12-hour form; spell it out while the locale is at hand.
    const std::string twelveHour = nl_langinfo_l(T_FMT_AMPM, locale);
    for (auto at = format.find("%r"); at != std::string::npos;
         at = format.find("%r", at + twelveHour.size()))
        format.replace(at, 2, twelveHour);
    freelocale(locale);
    return format.empty() ? kPlainFormat : format;
}

} // namespace velmora::timekeeping
