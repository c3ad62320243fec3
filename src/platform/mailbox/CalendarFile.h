// One iCalendar file (.ics) read into plain values and written back: events, tasks and notes
// with their times, reminder and recurrence pattern. Reading never stops at a broken line.
#pragma once

#include "platform/host/ObjectModel.h"

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::mailbox {

enum class CalendarItemKind { Event, Task, Note }; // VEVENT, VTODO, VJOURNAL

// A date or a date-time as the file writes it.
struct CalendarTime {
    host::DateTime local{};            // the wall-clock time in its own zone
    std::string zone;                  // the TZID as written, "UTC", or empty (floating or a date)
    bool dateOnly = false;             // a DATE value: an all-day item
    std::optional<host::DateTime> utc; // the instant; none when floating, a date or zone unknown
    bool operator==(const CalendarTime&) const = default;
};

struct Recurrence {
    host::RecurrencePattern pattern;
    bool endsAfterCount = false;              // COUNT, not UNTIL, ends the rule
    std::vector<CalendarTime> exceptionDates; // EXDATE
    // A rule the pattern cannot hold: `expressible` is false, `unsupported` says what is
    // missing, and `rule` keeps the rule as written so that writing the item loses nothing.
    bool expressible = true;
    std::string unsupported;
    std::string rule;
    bool operator==(const Recurrence& other) const;
};

struct CalendarItem {
    CalendarItemKind kind = CalendarItemKind::Event;
    std::string uid;
    std::string summary;
    std::string description;
    std::string location;
    std::vector<std::string> categories;
    std::optional<CalendarTime> start;
    std::optional<CalendarTime> end; // DTEND of an event, DUE of a task
    bool reminderSet = false;        // the item has an alarm
    int reminderMinutesBeforeStart = 15;
    std::optional<Recurrence> recurrence;
    // Properties this type does not read, as written, so that a rewrite keeps them.
    std::vector<std::string> otherProperties;
    bool allDayEvent() const { return start && start->dateOnly; }
    bool operator==(const CalendarItem&) const = default;
};

struct CalendarData {
    std::vector<CalendarItem> items;
    std::vector<std::string> timeZones; // the VTIMEZONE definitions as written
    // Empty when the whole file was read; otherwise one message naming the file and what was
    // skipped or guessed (a broken line, an unknown time zone). Everything else is read.
    std::string problem;
};

class CalendarFile {
  public:
    // Raises ItemFileError when nothing can be read: the file is missing, unreadable, or holds
    // no calendar.
    static CalendarData read(const std::filesystem::path& file);
    // The same for text already read; name stands for the file in messages.
    static CalendarData parse(std::string_view text, const std::string& name);
    // The calendar as iCalendar text, with the time zones its items name.
    static std::string text(const CalendarData& calendar);
    // Writes the text beside the file and renames it over, so a reader never sees half a file;
    // raises ItemFileError.
    static void write(const std::filesystem::path& file, const CalendarData& calendar);
};

} // namespace velmora::mailbox
