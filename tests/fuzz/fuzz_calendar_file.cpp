// Fuzz target for the calendar-file reader: checks that every text read is UTF-8, that each
// recurrence flagged expressible is one the host accepts, and that a rewrite reads back alike.
#include "FuzzChecks.h"
#include "platform/mailbox/CalendarFile.h"

#include <cstdint>
#include <string>
#include <string_view>

using namespace velmora::mailbox;
using velmora::fuzz::expectUtf8;
using velmora::fuzz::fail;
namespace host = velmora::host;

namespace {

// The checks the host makes when the add-in sets a recurrence pattern.
void expectAccepted(const host::RecurrencePattern& p) {
    const int t = p.RecurrenceType;
    if (t != host::olRecursDaily && t != host::olRecursWeekly && t != host::olRecursMonthly &&
        t != host::olRecursMonthNth && t != host::olRecursYearly && t != host::olRecursYearNth)
        fail("an expressible rule has recurrence type " + std::to_string(t));
    if (p.Interval < 1) fail("an expressible rule has interval " + std::to_string(p.Interval));
    if (p.DayOfWeekMask < 0 || p.DayOfWeekMask > 127)
        fail("an expressible rule has day mask " + std::to_string(p.DayOfWeekMask));
    if (t == host::olRecursWeekly && p.DayOfWeekMask == 0)
        fail("an expressible weekly rule has no weekday");
    if (p.DayOfMonth < 0 || p.DayOfMonth > 31 || p.MonthOfYear < 0 || p.MonthOfYear > 12 ||
        p.Instance < 0 || p.Instance > 5 || p.Occurrences < 0)
        fail("an expressible rule has a day, month, instance or count out of range");
    if (!p.NoEndDate && p.Occurrences == 0 && p.PatternEndDate < p.PatternStartDate)
        fail("an expressible rule ends before it starts");
}

void check(const CalendarData& calendar) {
    expectUtf8(calendar.problem, "problem");
    for (const CalendarItem& item : calendar.items) {
        expectUtf8(item.uid, "UID");
        expectUtf8(item.summary, "summary");
        expectUtf8(item.description, "description");
        expectUtf8(item.location, "location");
        for (const std::string& category : item.categories)
            expectUtf8(category, "category");
        if (item.recurrence && item.recurrence->expressible)
            expectAccepted(item.recurrence->pattern);
    }
}

} // namespace

// An ItemFileError says the input holds no calendar; any other exception is a finding.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto read =
        velmora::fuzz::readTwice<CalendarData>({reinterpret_cast<const char*>(data), size},
                                               CalendarFile::parse, CalendarFile::text, check);
    if (!read) return 0;
    const auto& [calendar, again] = *read;
    if (again.items.size() != calendar.items.size())
        fail("the rewrite has " + std::to_string(again.items.size()) + " items, not " +
             std::to_string(calendar.items.size()));
    for (std::size_t i = 0; i < calendar.items.size(); ++i) {
        if (again.items[i].uid != calendar.items[i].uid)
            fail("the rewrite changes UID \"" + calendar.items[i].uid + "\" to \"" +
                 again.items[i].uid + "\"");
        if (again.items[i].summary != calendar.items[i].summary)
            fail("the rewrite changes summary \"" + calendar.items[i].summary + "\" to \"" +
                 again.items[i].summary + "\"");
    }
    return 0;
}
