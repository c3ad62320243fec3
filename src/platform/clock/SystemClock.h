// The real clock: the system time read as local time in the environment's zone (TZ) or in a
// zone chosen by name, with the locale's (LC_TIME) time text form unless one is set.
#pragma once

#include "platform/clock/Clock.h"
#include "platform/clock/ZoneRules.h"

#include <optional>
#include <string>
#include <string_view>

namespace velmora::timekeeping {

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
