// The offsets of one IANA time zone, from ICU's zone data, so that a zone can be chosen for one
// clock without touching the process's TZ.
#pragma once

#include <chrono>
#include <memory>
#include <string>
#include <string_view>

namespace velmora::timekeeping {

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

} // namespace velmora::timekeeping
