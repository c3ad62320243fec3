// Tests of the clock service: local time in the environment's zone or a named one, zone files
// read as the system has them, and the time text in the locale's or a chosen form.
#include "platform/clock/Clock.h"
#include "platform/clock/SystemClock.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace velmora::timekeeping {
namespace {

using namespace std::chrono;

DateTime at(int y, unsigned m, unsigned d, int hh, int mm, int ss = 0) {
    return sys_days{year{y} / month{m} / day{d}} + hours{hh} + minutes{mm} + seconds{ss};
}

// Sets an environment variable for the scope of one test and puts the old value back.
class ScopedEnv {
  public:
    ScopedEnv(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name)) old_ = old;
        ::setenv(name, value, 1);
    }
    ~ScopedEnv() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

  private:
    const char* name_;
    std::optional<std::string> old_;
};

seconds offsetNow(const SystemClock& clock) {
    return clock.now() - floor<seconds>(system_clock::now());
}

TEST(SystemClock, LocalTimeInTheEnvironmentsZoneOrANamedZone) {
    ScopedEnv tz("TZ", "Asia/Shanghai");
    SystemClock clock;
    EXPECT_NEAR(offsetNow(clock).count(), 8 * 3600, 2) << "TZ decides what local time is";
    {
        ScopedEnv utc("TZ", "UTC");
        EXPECT_NEAR(offsetNow(clock).count(), 0, 2) << "a changed TZ applies at the next reading";
    }

    clock.setZone("America/Sao_Paulo");
    EXPECT_EQ(clock.zone(), "America/Sao_Paulo");
    EXPECT_NEAR(offsetNow(clock).count(), -3 * 3600, 2);
    EXPECT_THROW(clock.setZone("Mars/Olympus_Mons"), ClockError);
    EXPECT_THROW(clock.setZone("../../etc/passwd"), ClockError);
    EXPECT_THROW(clock.setZone("Europe"), ClockError) << "a folder of zones is no zone";
    EXPECT_EQ(clock.zone(), "America/Sao_Paulo") << "a refused zone keeps the previous one";
    clock.setZone("");
    EXPECT_NEAR(offsetNow(clock).count(), 8 * 3600, 2);

    // Summer and winter time, and the instants either side of a change (Berlin, 2026-03-29
    // 01:00 UTC).
    const ZoneRules berlin = ZoneRules::load("Europe/Berlin");
    EXPECT_EQ(berlin.offsetAt(at(2026, 1, 15, 12, 0)), hours{1});
    EXPECT_EQ(berlin.offsetAt(at(2026, 7, 15, 12, 0)), hours{2});
    EXPECT_EQ(berlin.offsetAt(at(2026, 3, 29, 0, 59, 59)), hours{1});
    EXPECT_EQ(berlin.offsetAt(at(2026, 3, 29, 1, 0)), hours{2});
    EXPECT_EQ(ZoneRules::load("Asia/Kolkata").offsetAt(at(2026, 1, 1, 0, 0)),
              hours{5} + minutes{30});
    EXPECT_THROW(ZoneRules::load("Not/AZone"), ClockError);
}

TEST(Clock, TimeTextFollowsTheFormatWithMorningAndAfternoonByLanguage) {
    FixedClock clock(at(2026, 5, 20, 14, 5, 9));
    EXPECT_EQ(clock.timeText(clock.now(), true), "14:05:09") << "fixed clocks default to 24h";
    clock.setTimeFormat("%p %I:%M:%S");
    EXPECT_EQ(clock.timeText(clock.now(), true), "下午 02:05:09");
    EXPECT_EQ(clock.timeText(clock.now(), false), "PM 02:05:09");
    EXPECT_EQ(clock.timeText(at(2026, 5, 20, 0, 30), true), "上午 12:30:00");
    clock.setTimeFormat("%r");
    EXPECT_EQ(clock.timeText(at(2026, 5, 20, 11, 59, 59), true), "11:59:59 上午");
    clock.setTimeFormat("%X|%R|%%p|%Y-%m-%d");
    EXPECT_EQ(clock.timeText(clock.now(), false), "14:05:09|14:05|%p|2026-05-20");
    clock.setTimeFormat("");
    EXPECT_EQ(clock.timeFormat(), "%H:%M:%S");

    // The system clock takes the locale's form; a locale that is not installed reads as C.
    for (const char* locale : {"C", "xx_NOWHERE.UTF-8"}) {
        ScopedEnv all("LC_ALL", locale);
        EXPECT_EQ(SystemClock::localeTimeFormat(), "%H:%M:%S") << locale;
        EXPECT_EQ(SystemClock().timeFormat(), "%H:%M:%S") << locale;
    }
}

} // namespace
} // namespace velmora::timekeeping
