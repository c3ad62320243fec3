// The offsets of one IANA time zone, read from the system's compiled zone files (TZif), so that
// a zone can be chosen for one clock without touching the process's TZ.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::timekeeping {

class ZoneRules {
  public:
    // Reads the zone name (such as "Asia/Shanghai") below $TZDIR, else /usr/share/zoneinfo;
    // raises ClockError for a name that is no zone there.
    static ZoneRules load(std::string_view name);
    // Parses the bytes of a TZif file; raises ClockError when they are none.
    static ZoneRules parse(const std::string& bytes, std::string_view name);

    const std::string& name() const { return name_; }
    // Seconds east of UTC at that instant. After the file's last transition its offset holds:
    // Debian's zone files list transitions up to 2037.
    std::chrono::seconds offsetAt(std::chrono::sys_seconds utc) const;

  private:
    std::string name_;
    std::vector<std::int64_t> transitions_; // UTC seconds, ascending
    std::vector<std::uint8_t> typeOf_;      // the offset index from each transition on
    std::vector<std::int32_t> offsets_;     // seconds east of UTC, per type
};

} // namespace velmora::timekeeping
