// One iCalendar file (.ics) read into plain values and written back, over libical.
// Recurrence rules are mapped onto the host's recurrence pattern, or flagged when they cannot be.
#include "platform/mailbox/CalendarFile.h"

#include "platform/mailbox/Charsets.h"
#include "platform/mailbox/ItemFiles.h"

#include <libical/ical.h>

#include <algorithm>
#include <bit>
#include <cstring>
#include <memory>
#include <set>
#include <tuple>

namespace velmora::mailbox {

namespace {

using namespace std::chrono;

struct ComponentFree {
    void operator()(icalcomponent* c) const { icalcomponent_free(c); }
};
using Component = std::unique_ptr<icalcomponent, ComponentFree>;

struct ParserFree {
    void operator()(icalparser* p) const { icalparser_free(p); }
};

// Takes a text libical allocated for the caller (the *_r functions).
std::string owned(char* text) {
    if (!text) return {};
    std::string copy(text);
    icalmemory_free_buffer(text);
    return copy;
}

std::string trimmedLine(std::string text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

// Hands libical the text line by line. A lone CR ends a line too: libical would keep it in the
// value, and drop it on writing, so the item would read back otherwise.
struct LineSource {
    std::string_view text;
    std::size_t at = 0;
};

char* nextLine(char* out, std::size_t size, void* data) {
    auto* source = static_cast<LineSource*>(data);
    const std::string_view text = source->text;
    if (source->at >= text.size() || size < 2) return nullptr;
    std::size_t newline = text.find_first_of("\r\n", source->at);
    const bool loneCr = newline != std::string_view::npos && text[newline] == '\r' &&
                        (newline + 1 == text.size() || text[newline + 1] != '\n');
    if (newline != std::string_view::npos && !loneCr) newline = text.find('\n', newline);
    const std::size_t end = newline == std::string_view::npos ? text.size() : newline + 1;
    const std::size_t n = std::min(end - source->at, size - 1);
    std::memcpy(out, text.data() + source->at, n);
    if (loneCr && n == end - source->at) out[n - 1] = '\n';
    out[n] = '\0';
    source->at += n;
    return out;
}

// Every top-level component of the text. A calendar cut short (a file still being written, a
// full disk) is closed after its last line, so the items before the cut are still read.
std::vector<Component> parseComponents(std::string_view text) {
    std::vector<Component> roots;
    LineSource source{text};
    std::unique_ptr<icalparser, ParserFree> parser(icalparser_new());
    icalparser_set_gen_data(parser.get(), &source);
    int depth = 0;
    while (char* line = icalparser_get_line(parser.get(), nextLine)) {
        icalcomponent* done = icalparser_add_line(parser.get(), line);
        icalmemory_free_buffer(line);
        if (done) {
            roots.emplace_back(done);
            depth = 0;
            continue;
        }
        const icalparser_state state = icalparser_get_state(parser.get());
        if (state == ICALPARSER_BEGIN_COMP) ++depth;
        if (state == ICALPARSER_END_COMP && depth > 0) --depth;
    }
    for (; depth > 0; --depth) {
        char end[] = "END:VCALENDAR";
        if (icalcomponent* done = icalparser_add_line(parser.get(), end)) roots.emplace_back(done);
    }
    return roots;
}

host::DateTime wallClock(const icaltimetype& t) {
    const sys_days day{year{t.year} / t.month / t.day};
    return day + hours{t.hour} + minutes{t.minute} + seconds{t.second};
}

icaltimetype icalTime(host::DateTime local, bool dateOnly) {
    const sys_days day = floor<days>(local);
    const year_month_day ymd{day};
    const hh_mm_ss<seconds> time{local - day};
    icaltimetype t = icaltime_null_time();
    t.year = static_cast<int>(ymd.year());
    t.month = static_cast<int>(static_cast<unsigned>(ymd.month()));
    t.day = static_cast<int>(static_cast<unsigned>(ymd.day()));
    if (dateOnly) {
        t.is_date = 1;
        return t;
    }
    t.hour = static_cast<int>(time.hours().count());
    t.minute = static_cast<int>(time.minutes().count());
    t.second = static_cast<int>(time.seconds().count());
    return t;
}

const char* const kWeekdays[] = {"SU", "MO", "TU", "WE", "TH", "FR", "SA"};

// libical passes bytes through as written, and drops control characters only on writing: the
// texts read, and the problem quoting them, must be UTF-8 and read back alike. keep names the
// control characters that may stay.
std::string readableText(std::string_view text, std::string_view keep) {
    std::string valid = validUtf8(text);
    const auto control = [keep](char c) {
        return ((c >= 0 && c < ' ') || c == '\x7f') && keep.find(c) == std::string_view::npos;
    };
    if (std::none_of(valid.begin(), valid.end(), control)) return valid;
    std::string out;
    out.reserve(valid.size());
    for (const char c : valid)
        out += control(c) ? std::string("\uFFFD") : std::string(1, c);
    return out;
}

// Collects what the reader had to skip or guess, for the one message about the file.
struct Problems {
    std::vector<std::string> skipped;
    std::set<std::string> unknownZones;
    bool notUtf8 = false;

    // libical cuts the line it quotes at a byte count, perhaps within a character.
    void skipError(icalproperty* error) {
        skipped.push_back(validUtf8(icalproperty_get_xlicerror(error)));
    }

    std::string message(const std::string& name) const {
        std::string text = notUtf8 ? "bytes that are not UTF-8 text are read as U+FFFD" : "";
        for (const std::string& s : skipped)
            text += (text.empty() ? "" : "; ") + s;
        for (const std::string& zone : unknownZones)
            text += (text.empty() ? "" : "; ") + std::string("unknown time zone \"") + zone +
                    "\": its times are read as floating times";
        if (text.empty()) return text;
        return "Calendar file " + name + ": " + text + "; the rest is read";
    }
};

// libical takes a day, month or hour past its end as written (20240231): it is counted on, as
// the host's dates are, so that a rule never falls on day 31 of February, and named.
icaltimetype timeOf(icalproperty* p, icalcomponent* item, Problems& problems) {
    const icaltimetype t = icalproperty_get_datetime_with_component(p, item);
    if (icaltime_is_null_time(t)) return t;
    const icaltimetype normal = icaltime_normalize(t);
    if (std::tie(t.year, t.month, t.day, t.hour, t.minute, t.second) ==
        std::tie(normal.year, normal.month, normal.day, normal.hour, normal.minute, normal.second))
        return t;
    problems.skipped.push_back(std::string("the time ") + icaltime_as_ical_string(t) +
                               " is not in the calendar; it is read as " +
                               icaltime_as_ical_string(normal));
    return normal;
}

std::optional<CalendarTime> readTime(icalproperty* p, icalcomponent* item, Problems& problems) {
    const icaltimetype t = timeOf(p, item, problems);
    if (icaltime_is_null_time(t)) return std::nullopt;
    CalendarTime time;
    time.local = wallClock(t);
    time.dateOnly = t.is_date != 0;
    if (time.dateOnly) return time;
    if (icaltime_is_utc(t)) {
        time.zone = "UTC";
        time.utc = host::DateTime{seconds{icaltime_as_timet(t)}};
        return time;
    }
    icalparameter* tzid = icalproperty_get_first_parameter(p, ICAL_TZID_PARAMETER);
    if (!tzid) return time;
    time.zone = icalparameter_get_tzid(tzid);
    if (!t.zone) {
        problems.unknownZones.insert(time.zone);
        return time;
    }
    time.utc = host::DateTime{seconds{icaltime_as_timet_with_zone(t, t.zone)}};
    return time;
}

template <std::size_t N> std::vector<int> listed(const short (&values)[N]) {
    std::vector<int> out;
    for (std::size_t i = 0; i < N && values[i] != ICAL_RECURRENCE_ARRAY_MAX; ++i)
        out.push_back(values[i]);
    return out;
}

// Outlook keeps at most the first four positions of a weekday in a month, and the last.
constexpr int kLastInstance = 5;
// Expanding a rule stops here: no pattern of the host ends later.
constexpr int kMaxOccurrences = 100000;

// The day a monthly or yearly rule falls on: the nth of some weekdays, or a day of the month.
struct DayInMonth {
    int mask;
    int position;
    int instance;
    const std::vector<int>& monthDays;
    int startDay;
};

std::string mapDayInMonth(const DayInMonth& d, int nthType, int dayType,
                          host::RecurrencePattern& p) {
    if (d.mask != 0) {
        if (!d.monthDays.empty()) return "it names weekdays and days of the month together";
        if (d.position == 0) return "it repeats on every such weekday of the month";
        p.RecurrenceType = nthType;
        p.DayOfWeekMask = d.mask;
        p.Instance = d.instance;
        return {};
    }
    if (d.position != 0) return "it names a position without weekdays (BYSETPOS)";
    p.RecurrenceType = dayType;
    p.DayOfMonth = d.monthDays.empty() ? d.startDay : d.monthDays[0];
    return {};
}

// The part of the rule the pattern can hold; a description of what it cannot, otherwise.
std::string mapRule(const icalrecurrencetype& r, const icaltimetype& start,
                    host::RecurrencePattern& p) {
    if (r.freq < ICAL_DAILY_RECURRENCE || r.freq > ICAL_YEARLY_RECURRENCE)
        return "it repeats more often than daily";
    if (!listed(r.by_second).empty() || !listed(r.by_minute).empty() || !listed(r.by_hour).empty())
        return "it names hours, minutes or seconds (BYHOUR, BYMINUTE, BYSECOND)";
    if (!listed(r.by_year_day).empty() || !listed(r.by_week_no).empty())
        return "it names days of the year or weeks of the year (BYYEARDAY, BYWEEKNO)";
    if (r.rscale) return "it counts in another calendar (RSCALE)";
    const std::vector<int> setPositions = listed(r.by_set_pos);
    const std::vector<int> months = listed(r.by_month);
    const std::vector<int> monthDays = listed(r.by_month_day);
    if (setPositions.size() > 1) return "it names several positions (BYSETPOS)";
    if (months.size() > 1) return "it names several months (BYMONTH)";
    if (monthDays.size() > 1) return "it names several days of the month (BYMONTHDAY)";
    if (!monthDays.empty() && monthDays[0] < 1)
        return "it counts days from the end of the month (BYMONTHDAY)";

    int mask = 0;
    std::set<int> positions;
    for (int day : listed(r.by_day)) {
        mask |=
            1 << (static_cast<int>(icalrecurrencetype_day_day_of_week(static_cast<short>(day))) -
                  1);
        positions.insert(icalrecurrencetype_day_position(static_cast<short>(day)));
    }
    if (positions.size() > 1) return "its weekdays have different positions (BYDAY)";
    int position = positions.empty() ? 0 : *positions.begin();
    if (!setPositions.empty()) {
        if (position != 0) return "it names a position twice (BYDAY and BYSETPOS)";
        position = setPositions[0];
    }
    if (position < -1 || position > 4)
        return "it names a weekday position other than the first four or the last";
    const int instance = position == -1 ? kLastInstance : position;
    const int startWeekday = icaltime_day_of_week(start); // 1 is Sunday
    p.Interval = r.interval;

    switch (r.freq) {
    case ICAL_DAILY_RECURRENCE:
        if (!months.empty() || !monthDays.empty() || position != 0)
            return "it limits a daily rule to months, days of the month or positions";
        if (mask == 0) {
            p.RecurrenceType = host::olRecursDaily;
            return {};
        }
        if (r.interval != 1) return "it repeats every few days on chosen weekdays";
        p.RecurrenceType = host::olRecursWeekly;
        p.DayOfWeekMask = mask;
        return {};
    case ICAL_WEEKLY_RECURRENCE:
        if (!months.empty() || !monthDays.empty() || position != 0)
            return "it limits a weekly rule to months, days of the month or positions";
        p.RecurrenceType = host::olRecursWeekly;
        p.DayOfWeekMask = mask != 0 ? mask : 1 << (startWeekday - 1);
        if (r.week_start != ICAL_MONDAY_WEEKDAY && r.interval > 1 &&
            std::popcount(unsigned(mask)) > 1)
            return "its weeks start on another day than Monday (WKST)";
        return {};
    case ICAL_MONTHLY_RECURRENCE:
        if (!months.empty()) return "it limits a monthly rule to months (BYMONTH)";
        return mapDayInMonth({mask, position, instance, monthDays, start.day},
                             host::olRecursMonthNth, host::olRecursMonthly, p);
    default: // yearly
        p.MonthOfYear = months.empty() ? start.month : months[0];
        return mapDayInMonth({mask, position, instance, monthDays, start.day},
                             host::olRecursYearNth, host::olRecursYearly, p);
    }
}

Recurrence readRule(icalproperty* rrule, const icaltimetype& start) {
    icalrecurrencetype r = icalproperty_get_rrule(rrule);
    Recurrence rec;
    rec.pattern.PatternStartDate = floor<days>(wallClock(start));
    const auto unsupported = [&](std::string why) {
        rec.expressible = false;
        rec.unsupported = std::move(why);
        rec.rule = owned(icalrecurrencetype_as_string_r(&r));
        return rec;
    };
    if (std::string why = mapRule(r, start, rec.pattern); !why.empty())
        return unsupported(std::move(why));
    if (r.count == 0 && icaltime_is_null_time(r.until)) return rec;

    // Occurrences and the last date come from expanding the rule, as the host answers both.
    rec.pattern.NoEndDate = false;
    rec.endsAfterCount = r.count > 0;
    icalrecur_iterator* it = icalrecur_iterator_new(r, start);
    if (!it) return unsupported("libical cannot expand it");
    int count = 0;
    icaltimetype last = start;
    for (icaltimetype t = icalrecur_iterator_next(it); !icaltime_is_null_time(t);
         t = icalrecur_iterator_next(it)) {
        if (++count > kMaxOccurrences) break;
        last = t;
    }
    icalrecur_iterator_free(it);
    if (count > kMaxOccurrences) return unsupported("it ends after more than 100000 occurrences");
    rec.pattern.Occurrences = count;
    rec.pattern.PatternEndDate = floor<days>(wallClock(last));
    return rec;
}

void readAlarm(icalcomponent* alarm, CalendarItem& item) {
    item.reminderSet = true;
    icalproperty* trigger = icalcomponent_get_first_property(alarm, ICAL_TRIGGER_PROPERTY);
    if (!trigger) return;
    const icaltriggertype t = icalproperty_get_trigger(trigger);
    if (!icaltime_is_null_time(t.time)) {
        if (item.start && item.start->utc)
            item.reminderMinutesBeforeStart = static_cast<int>(
                duration_cast<minutes>(*item.start->utc -
                                       host::DateTime{seconds{icaltime_as_timet(t.time)}})
                    .count());
        return;
    }
    item.reminderMinutesBeforeStart = -icaldurationtype_as_int(t.duration) / 60;
}

CalendarItem readItem(icalcomponent* c, CalendarItemKind kind, Problems& problems) {
    CalendarItem item;
    item.kind = kind;
    std::optional<icaldurationtype> length;
    std::vector<icalproperty*> rules;
    std::vector<CalendarTime> exceptions;
    icaltimetype startTime = icaltime_null_time();
    // Escapes such as \F give control characters too, and \2 a blank, which libical drops at
    // the end of a line it reads: a value ends without blanks, as it would once written.
    const auto text = [&problems](const char* value) {
        std::string read = readableText(value ? value : "", "\t\n");
        if (value && read != value) problems.notUtf8 = true;
        read.erase(read.find_last_not_of(" \t") + 1);
        return read;
    };
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_ANY_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_ANY_PROPERTY)) {
        switch (icalproperty_isa(p)) {
        case ICAL_UID_PROPERTY:
            item.uid = text(icalproperty_get_uid(p));
            break;
        case ICAL_SUMMARY_PROPERTY:
            item.summary = text(icalproperty_get_summary(p));
            break;
        case ICAL_DESCRIPTION_PROPERTY:
            item.description = text(icalproperty_get_description(p));
            break;
        case ICAL_LOCATION_PROPERTY:
            item.location = text(icalproperty_get_location(p));
            break;
        case ICAL_CATEGORIES_PROPERTY:
            item.categories.push_back(text(icalproperty_get_categories(p)));
            break;
        case ICAL_DTSTART_PROPERTY:
            item.start = readTime(p, c, problems);
            startTime = icaltime_normalize(icalproperty_get_datetime_with_component(p, c));
            break;
        case ICAL_DTEND_PROPERTY:
        case ICAL_DUE_PROPERTY:
            item.end = readTime(p, c, problems);
            break;
        case ICAL_DURATION_PROPERTY:
            length = icalproperty_get_duration(p);
            break;
        case ICAL_RRULE_PROPERTY:
            rules.push_back(p);
            break;
        case ICAL_EXDATE_PROPERTY:
            if (auto t = readTime(p, c, problems)) exceptions.push_back(*t);
            break;
        case ICAL_XLICERROR_PROPERTY:
            problems.skipError(p);
            break;
        case ICAL_DTSTAMP_PROPERTY:
            break; // written anew with every save
        default:
            item.otherProperties.push_back(trimmedLine(owned(icalproperty_as_ical_string_r(p))));
        }
    }
    if (!item.end && item.start && length) {
        CalendarTime end = *item.start;
        const seconds span{icaldurationtype_as_int(*length)};
        end.local += span;
        if (end.utc) *end.utc += span;
        item.end = end;
    }
    for (icalcomponent* sub = icalcomponent_get_first_component(c, ICAL_ANY_COMPONENT); sub;
         sub = icalcomponent_get_next_component(c, ICAL_ANY_COMPONENT)) {
        if (icalcomponent_isa(sub) == ICAL_VALARM_COMPONENT) {
            if (!item.reminderSet) readAlarm(sub, item);
            continue;
        }
        item.otherProperties.push_back(trimmedLine(owned(icalcomponent_as_ical_string_r(sub))));
    }
    if (rules.empty()) return item;
    if (icaltime_is_null_time(startTime)) {
        problems.skipped.push_back("the repeating item \"" + item.uid +
                                   "\" has no start; its rule is ignored");
        return item;
    }
    item.recurrence = readRule(rules.front(), startTime);
    item.recurrence->exceptionDates = std::move(exceptions);
    if (rules.size() > 1 && item.recurrence->expressible) {
        item.recurrence->expressible = false;
        item.recurrence->unsupported = "it has several rules (RRULE); the first is kept";
    }
    return item;
}

std::optional<CalendarItemKind> kindOf(icalcomponent* c) {
    switch (icalcomponent_isa(c)) {
    case ICAL_VEVENT_COMPONENT:
        return CalendarItemKind::Event;
    case ICAL_VTODO_COMPONENT:
        return CalendarItemKind::Task;
    case ICAL_VJOURNAL_COMPONENT:
        return CalendarItemKind::Note;
    default:
        return std::nullopt;
    }
}

void readInto(icalcomponent* c, CalendarData& calendar, Problems& problems) {
    if (icalcomponent_isa(c) == ICAL_VTIMEZONE_COMPONENT) {
        calendar.timeZones.push_back(trimmedLine(owned(icalcomponent_as_ical_string_r(c))));
        return;
    }
    if (auto kind = kindOf(c)) {
        calendar.items.push_back(readItem(c, *kind, problems));
        return;
    }
    for (icalproperty* p = icalcomponent_get_first_property(c, ICAL_XLICERROR_PROPERTY); p;
         p = icalcomponent_get_next_property(c, ICAL_XLICERROR_PROPERTY))
        problems.skipError(p);
    for (icalcomponent* sub = icalcomponent_get_first_component(c, ICAL_ANY_COMPONENT); sub;
         sub = icalcomponent_get_next_component(c, ICAL_ANY_COMPONENT))
        readInto(sub, calendar, problems);
}

// ---- writing

void addTime(icalcomponent* c, icalproperty* (*make)(icaltimetype), const CalendarTime& time) {
    icaltimetype t = icalTime(time.local, time.dateOnly);
    if (time.zone == "UTC") t.zone = icaltimezone_get_utc_timezone();
    icalproperty* p = make(t);
    if (!time.dateOnly && !time.zone.empty() && time.zone != "UTC")
        icalproperty_add_parameter(p, icalparameter_new_tzid(time.zone.c_str()));
    icalcomponent_add_property(c, p);
}

std::string weekdays(int mask, int position) {
    std::string text;
    for (int day = 0; day < 7; ++day) {
        if ((mask & (1 << day)) == 0) continue;
        if (!text.empty()) text += ',';
        if (position != 0) text += std::to_string(position);
        text += kWeekdays[day];
    }
    return text;
}

std::string ruleText(const Recurrence& rec, const CalendarTime& start) {
    const host::RecurrencePattern& p = rec.pattern;
    const int position = p.Instance == kLastInstance ? -1 : p.Instance;
    // One weekday takes its position itself (2TU); several share one BYSETPOS.
    const bool oneDay = std::popcount(static_cast<unsigned>(p.DayOfWeekMask)) == 1;
    const std::string nth =
        oneDay ? weekdays(p.DayOfWeekMask, position)
               : weekdays(p.DayOfWeekMask, 0) + ";BYSETPOS=" + std::to_string(position);
    std::string text;
    switch (p.RecurrenceType) {
    case host::olRecursDaily:
        text = "FREQ=DAILY";
        break;
    case host::olRecursWeekly:
        text = "FREQ=WEEKLY;BYDAY=" + weekdays(p.DayOfWeekMask, 0);
        break;
    case host::olRecursMonthly:
        text = "FREQ=MONTHLY;BYMONTHDAY=" + std::to_string(p.DayOfMonth);
        break;
    case host::olRecursMonthNth:
        text = "FREQ=MONTHLY;BYDAY=" + nth;
        break;
    case host::olRecursYearly:
        text = "FREQ=YEARLY;BYMONTH=" + std::to_string(p.MonthOfYear) +
               ";BYMONTHDAY=" + std::to_string(p.DayOfMonth);
        break;
    case host::olRecursYearNth:
        text = "FREQ=YEARLY;BYMONTH=" + std::to_string(p.MonthOfYear) + ";BYDAY=" + nth;
        break;
    default:
        throw ItemFileError("unknown recurrence type " + std::to_string(p.RecurrenceType));
    }
    if (p.Interval > 1) text += ";INTERVAL=" + std::to_string(p.Interval);
    if (p.NoEndDate) return text;
    if (rec.endsAfterCount) return text + ";COUNT=" + std::to_string(p.Occurrences);
    // UNTIL is the last occurrence itself, of the same value type as the start.
    const host::DateTime lastLocal = p.PatternEndDate + (start.local - floor<days>(start.local));
    icaltimetype until = icalTime(lastLocal, start.dateOnly);
    if (!start.dateOnly && start.utc) {
        const host::DateTime lastUtc = *start.utc + (lastLocal - start.local);
        until = icaltime_from_timet_with_zone(lastUtc.time_since_epoch().count(), 0,
                                              icaltimezone_get_utc_timezone());
    }
    return text + ";UNTIL=" + icaltime_as_ical_string(until);
}

// Adds a property or component kept as written; one libical cannot read again is dropped.
void addKept(icalcomponent* c, const std::string& text) {
    if (text.rfind("BEGIN:", 0) == 0) {
        if (icalcomponent* sub = icalcomponent_new_from_string(text.c_str()))
            icalcomponent_add_component(c, sub);
        return;
    }
    if (icalproperty* p = icalproperty_new_from_string(text.c_str()))
        icalcomponent_add_property(c, p);
}

Component writeItem(const CalendarItem& item) {
    Component owner(icalcomponent_new(item.kind == CalendarItemKind::Event ? ICAL_VEVENT_COMPONENT
                                      : item.kind == CalendarItemKind::Task
                                          ? ICAL_VTODO_COMPONENT
                                          : ICAL_VJOURNAL_COMPONENT));
    icalcomponent* c = owner.get();
    icalcomponent_add_property(c, icalproperty_new_uid(item.uid.c_str()));
    icalcomponent_add_property(c, icalproperty_new_dtstamp(icaltime_current_time_with_zone(
                                      icaltimezone_get_utc_timezone())));
    if (item.start) addTime(c, icalproperty_new_dtstart, *item.start);
    if (item.end)
        addTime(c,
                item.kind == CalendarItemKind::Task ? icalproperty_new_due : icalproperty_new_dtend,
                *item.end);
    if (!item.summary.empty())
        icalcomponent_add_property(c, icalproperty_new_summary(item.summary.c_str()));
    if (!item.description.empty())
        icalcomponent_add_property(c, icalproperty_new_description(item.description.c_str()));
    if (!item.location.empty())
        icalcomponent_add_property(c, icalproperty_new_location(item.location.c_str()));
    for (const std::string& category : item.categories)
        icalcomponent_add_property(c, icalproperty_new_categories(category.c_str()));
    if (item.recurrence && item.start) {
        const Recurrence& rec = *item.recurrence;
        const std::string rule = rec.expressible ? ruleText(rec, *item.start) : rec.rule;
        icalcomponent_add_property(
            c, icalproperty_new_rrule(icalrecurrencetype_from_string(rule.c_str())));
        for (const CalendarTime& t : rec.exceptionDates)
            addTime(c, icalproperty_new_exdate, t);
    }
    for (const std::string& text : item.otherProperties)
        addKept(c, text);
    if (item.reminderSet) {
        icalcomponent* alarm = icalcomponent_new(ICAL_VALARM_COMPONENT);
        icalcomponent_add_property(alarm, icalproperty_new_action(ICAL_ACTION_DISPLAY));
        icalcomponent_add_property(
            alarm,
            icalproperty_new_description(item.summary.empty() ? "Reminder" : item.summary.c_str()));
        icaltriggertype trigger{};
        trigger.time = icaltime_null_time();
        trigger.duration = icaldurationtype_from_int(-item.reminderMinutesBeforeStart * 60);
        icalcomponent_add_property(alarm, icalproperty_new_trigger(trigger));
        icalcomponent_add_component(c, alarm);
    }
    return owner;
}

// The VTIMEZONE of a zone the file did not define, from libical's own zone table.
icalcomponent* builtInZone(const std::string& tzid) {
    icaltimezone* zone = icaltimezone_get_builtin_timezone(tzid.c_str());
    if (!zone) return nullptr;
    icalcomponent* definition = icalcomponent_new_clone(icaltimezone_get_component(zone));
    // The table names its zones with a prefix of its own; the items name the zone plainly.
    if (icalproperty* id = icalcomponent_get_first_property(definition, ICAL_TZID_PROPERTY))
        icalproperty_set_tzid(id, tzid.c_str());
    return definition;
}

} // namespace

bool Recurrence::operator==(const Recurrence& other) const {
    const auto fields = [](const Recurrence& r) {
        const host::RecurrencePattern& p = r.pattern;
        return std::tie(p.RecurrenceType, p.Interval, p.DayOfWeekMask, p.DayOfMonth, p.Instance,
                        p.MonthOfYear, p.NoEndDate, p.Occurrences, p.PatternStartDate,
                        p.PatternEndDate, r.endsAfterCount, r.exceptionDates, r.expressible,
                        r.unsupported, r.rule);
    };
    return fields(*this) == fields(other);
}

CalendarData CalendarFile::read(const std::filesystem::path& file) {
    return parse(readItemFile(file, "calendar"), file.string());
}

CalendarData CalendarFile::parse(std::string_view text, const std::string& name) {
    const std::string valid = readableText(text, "\t\r\n");
    std::vector<Component> roots = parseComponents(valid);
    if (roots.empty())
        throw ItemFileError("Cannot read calendar file " + name + ": it holds no calendar");
    CalendarData calendar;
    Problems problems;
    problems.notUtf8 = valid != text;
    for (const Component& root : roots)
        readInto(root.get(), calendar, problems);
    calendar.problem = problems.message(name);
    return calendar;
}

std::string CalendarFile::text(const CalendarData& calendar) {
    Component root(icalcomponent_new(ICAL_VCALENDAR_COMPONENT));
    icalcomponent_add_property(root.get(), icalproperty_new_version("2.0"));
    icalcomponent_add_property(root.get(),
                               icalproperty_new_prodid("-//Velmora//Velmora Outlook add-in//EN"));
    std::set<std::string> defined;
    for (const std::string& definition : calendar.timeZones) {
        icalcomponent* zone = icalcomponent_new_from_string(definition.c_str());
        if (!zone) continue;
        if (icalproperty* id = icalcomponent_get_first_property(zone, ICAL_TZID_PROPERTY))
            defined.insert(icalproperty_get_tzid(id));
        icalcomponent_add_component(root.get(), zone);
    }
    const auto define = [&](const std::optional<CalendarTime>& t) {
        if (!t || t->zone.empty() || t->zone == "UTC" || !defined.insert(t->zone).second) return;
        if (icalcomponent* zone = builtInZone(t->zone))
            icalcomponent_add_component(root.get(), zone);
    };
    for (const CalendarItem& item : calendar.items) {
        define(item.start);
        define(item.end);
    }
    for (const CalendarItem& item : calendar.items)
        icalcomponent_add_component(root.get(), writeItem(item).release());
    return owned(icalcomponent_as_ical_string_r(root.get()));
}

void CalendarFile::write(const std::filesystem::path& file, const CalendarData& calendar) {
    writeItemFile(file, text(calendar), "calendar");
}

} // namespace velmora::mailbox
