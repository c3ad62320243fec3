// The real clock: the system time read as local time in the environment's zone (TZ) or in a
// zone chosen by name, with the locale's (LC_TIME) time text form unless one is set.
#pragma once

#include "platform/clock/Clock.h"

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

namespace velmora::timekeeping {

// The offsets of one IANA time zone, from ICU's zone data, so that a zone can be chosen for one
// clock without touching the process's TZ.
class ZoneRules {
  public:
    // The zone of that name ("Asia/Shanghai"); raises ClockError for a name that is no zone.
    static ZoneRules load(std::string_view name);

    const std::string& name() const { return name_; }
    // Seconds east of UTC at that instant, summer time included.
    std::chrono::seconds offsetAt(std::chrono::sys_seconds utc) const;

  private:
    struct Zone;
    ZoneRules(std::string name, std::shared_ptr<const Zone> zone);

    std::string name_;
    std::shared_ptr<const Zone> zone_;
};

class SystemClock : public Clock {
  public:
    SystemClock();

    DateTime now() const override;

    // Local times from now on in that IANA zone ("Asia/Shanghai"); "" returns to TZ.
    // Raises ClockError for an unknown zone and keeps the previous one.
    void setZone(std::string_view name);
    // The zone chosen by name; "" while the environment's zone applies.
    std::string zone() const { return zone_ ? zone_->name() : std::string(); }

    // The time format of the locale named by LC_ALL, LC_TIME or LANG; "%H:%M:%S" when that
    // locale is not installed.
    static std::string localeTimeFormat();

  private:
    std::optional<ZoneRules> zone_;
};

} // namespace velmora::timekeeping
