// A clock that shows one chosen local time until it is set again: tests and scripted sessions
// use it to make "now" known in advance.
#pragma once

#include "platform/clock/Clock.h"

namespace velmora::timekeeping {

class FixedClock : public Clock {
  public:
    // The time text form defaults to the 24-hour "%H:%M:%S", whatever the machine's locale.
    explicit FixedClock(DateTime at) : Clock("%H:%M:%S"), at_(at) {}

    DateTime now() const override { return at_; }
    void set(DateTime at) { at_ = at; }

  private:
    DateTime at_;
};

} // namespace velmora::timekeeping
