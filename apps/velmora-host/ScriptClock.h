// The scripted session's one clock, shared by the host and the add-in: the system's local time
// (in the zone "timezone" names), or stopped at a time by "clock" until "clock real".
#pragma once

#include "platform/clock/SystemClock.h"

#include <optional>
#include <string_view>

namespace velmora::app {

class ScriptClock : public timekeeping::Clock {
  public:
    ScriptClock() : Clock(timekeeping::SystemClock::localeTimeFormat()) {}

    timekeeping::DateTime now() const override { return stopped_ ? *stopped_ : system_.now(); }
    void stopAt(timekeeping::DateTime at) { stopped_ = at; }
    void run() { stopped_.reset(); }
    // Raises ClockError for a zone the system does not know.
    void setZone(std::string_view zone) { system_.setZone(zone); }

  private:
    timekeeping::SystemClock system_;
    std::optional<timekeeping::DateTime> stopped_;
};

} // namespace velmora::app
