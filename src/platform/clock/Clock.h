// The machine's clock as everything else reads it: the local wall-clock time and the system's
// time text. Host, add-in and store all ask one Clock; nothing else reads the system clock.
#pragma once

#include <chrono>
#include <stdexcept>
#include <string>

namespace velmora::timekeeping {

// Local wall-clock time counted in seconds, the same form as the host's item dates.
using DateTime = std::chrono::sys_seconds;

// A clock setting that cannot be used (an unknown zone, an empty time format).
class ClockError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class Clock {
  public:
    virtual ~Clock() = default;

    // The current local time, to the second.
    virtual DateTime now() const = 0;

    // The strftime pattern of the system's time text: the one set, else this clock's default.
    const std::string& timeFormat() const { return timeFormat_; }
    // An empty pattern returns to the default.
    void setTimeFormat(const std::string& pattern);

    // The time of day of when as the system writes it; %p reads 上午/下午 in Chinese, AM/PM in
    // English, whatever the locale says.
    std::string timeText(DateTime when, bool chinese) const;

  protected:
    explicit Clock(std::string defaultFormat);

  private:
    std::string defaultFormat_;
    std::string timeFormat_;
};

// A clock that shows one chosen local time until it is set again: tests and scripted sessions
// use it to make "now" known in advance.
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
