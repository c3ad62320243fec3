// Zone offsets through ICU's TimeZone: the zone data ships with ICU, kept up to date by the
// distribution, so no zone file is parsed here.
#include "platform/clock/ZoneRules.h"

#include "platform/clock/Clock.h"

#include <unicode/timezone.h>
#include <unicode/unistr.h>

namespace velmora::timekeeping {

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

} // namespace velmora::timekeeping
