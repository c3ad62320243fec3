// The real clock. This is the one place that reads the system clock; everything else asks a
// Clock, so that tests and scripts can fix the time. Zone offsets come from ICU's TimeZone: the
// zone data ships with ICU, kept up to date by the distribution, so no zone file is parsed here.
#include "platform/clock/SystemClock.h"

#include <unicode/timezone.h>
#include <unicode/unistr.h>

#include <ctime>
#include <langinfo.h>
#include <locale.h>

namespace velmora::timekeeping {

namespace {

constexpr const char* kPlainFormat = "%H:%M:%S";

} // namespace

struct ZoneRules::Zone {
    std::unique_ptr<const icu::TimeZone> zone;
};

ZoneRules::ZoneRules(std::string name, std::shared_ptr<const Zone> zone)
    : name_(std::move(name)), zone_(std::move(zone)) {}

ZoneRules ZoneRules::load(std::string_view name) {
    std::unique_ptr<const icu::TimeZone> zone(
        icu::TimeZone::createTimeZone(icu::UnicodeString::fromUTF8(
            icu::StringPiece(name.data(), static_cast<int32_t>(name.size())))));
    // ICU answers an unknown name with its "unknown" zone rather than an error.
    if (!zone || *zone == icu::TimeZone::getUnknown())
        throw ClockError("Unknown time zone \"" + std::string(name) +
                         "\" (an IANA name such as Asia/Shanghai)");
    return ZoneRules(std::string(name), std::make_shared<const Zone>(Zone{std::move(zone)}));
}

std::chrono::seconds ZoneRules::offsetAt(std::chrono::sys_seconds utc) const {
    const auto milliseconds = static_cast<UDate>(
        std::chrono::duration_cast<std::chrono::milliseconds>(utc.time_since_epoch()).count());
    int32_t raw = 0, summer = 0;
    UErrorCode status = U_ZERO_ERROR;
    zone_->zone->getOffset(milliseconds, false, raw, summer, status);
    if (U_FAILURE(status))
        throw ClockError("No offset of time zone " + name_ + ": " + u_errorName(status));
    return std::chrono::duration_cast<std::chrono::seconds>(
        std::chrono::milliseconds(raw + summer));
}

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
