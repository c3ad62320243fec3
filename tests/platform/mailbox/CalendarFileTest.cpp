// Reading and writing iCalendar files: rules onto the recurrence pattern, time zones, round
// trips, and broken files that still give what they hold.
#include "platform/mailbox/CalendarFile.h"
#include "platform/mailbox/Charsets.h"
#include "platform/mailbox/ItemFiles.h"

#include <gtest/gtest.h>

#include <fstream>

namespace velmora::mailbox {
namespace {

using namespace std::chrono;

const std::filesystem::path kData = VELMORA_TEST_DATA;

host::DateTime day(int y, unsigned m, unsigned d) {
    return sys_days{year{y} / m / d};
}

CalendarItem only(const std::string& file) {
    const CalendarData calendar = CalendarFile::read(kData / file);
    EXPECT_EQ(calendar.problem, "") << file;
    EXPECT_EQ(calendar.items.size(), 1U) << file;
    return calendar.items.at(0);
}

std::string event(const std::string& rule) {
    return "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:x\r\n"
           "DTSTART:20260113T100000Z\r\nRRULE:" +
           rule + "\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n";
}

// The calendar of one item, checked to keep its summary once written and read again.
CalendarData rewrittenAlike(const std::string& text) {
    const CalendarData calendar = CalendarFile::parse(text, "inline.ics");
    EXPECT_EQ(calendar.items.size(), 1U);
    if (calendar.items.empty()) return calendar;
    EXPECT_EQ(CalendarFile::parse(CalendarFile::text(calendar), "again.ics").items.at(0).summary,
              calendar.items[0].summary);
    return calendar;
}

Recurrence ruleOf(const std::string& rule) {
    return CalendarFile::parse(event(rule), "inline.ics").items.at(0).recurrence.value();
}

TEST(CalendarFile, RulesBecomeThePatternTheHostReads) {
    struct Case {
        const char* file;
        int type, interval, mask, dayOfMonth, instance, month;
        bool noEnd;
        int occurrences;
        host::DateTime start, end;
    };
    const Case cases[] = {
        {"event_weekly_mon_wed.ics", 1, 2, 10, 0, 0, 0, true, 0, day(2026, 3, 2), {}},
        {"event_monthly_14th.ics", 2, 1, 0, 14, 0, 0, false, 12, day(2026, 1, 14),
         day(2026, 12, 14)},
        {"event_yearly_march14.ics", 5, 1, 0, 14, 0, 3, true, 0, day(2026, 3, 14), {}},
        {"event_second_tuesday.ics", 3, 1, 4, 0, 2, 0, false, 6, day(2026, 1, 13), day(2026, 6, 9)},
        {"event_daily_count.ics", 0, 2, 0, 0, 0, 0, false, 10, day(2026, 3, 1), day(2026, 3, 19)},
        {"event_daily_until.ics", 0, 1, 0, 0, 0, 0, false, 10, day(2026, 3, 1), day(2026, 3, 10)},
        {"event_daily_no_end.ics", 0, 1, 0, 0, 0, 0, true, 0, day(2026, 3, 1), {}},
        {"event_shanghai.ics", 1, 1, 2, 0, 0, 0, false, 4, day(2026, 3, 9), day(2026, 3, 30)},
    };
    for (const Case& c : cases) {
        const Recurrence rec = only(c.file).recurrence.value();
        const host::RecurrencePattern& p = rec.pattern;
        EXPECT_TRUE(rec.expressible) << c.file << ": " << rec.unsupported;
        EXPECT_EQ(p.RecurrenceType, c.type) << c.file;
        EXPECT_EQ(p.Interval, c.interval) << c.file;
        EXPECT_EQ(p.DayOfWeekMask, c.mask) << c.file;
        EXPECT_EQ(p.DayOfMonth, c.dayOfMonth) << c.file;
        EXPECT_EQ(p.Instance, c.instance) << c.file;
        EXPECT_EQ(p.MonthOfYear, c.month) << c.file;
        EXPECT_EQ(p.NoEndDate, c.noEnd) << c.file;
        EXPECT_EQ(p.Occurrences, c.occurrences) << c.file;
        EXPECT_EQ(p.PatternStartDate, c.start) << c.file;
        EXPECT_EQ(p.PatternEndDate, c.end) << c.file;
    }
    EXPECT_EQ(only("event_weekly_mon_wed.ics").recurrence->exceptionDates.size(), 2U);
    EXPECT_TRUE(only("event_daily_count.ics").recurrence->endsAfterCount);
    EXPECT_FALSE(only("event_daily_until.ics").recurrence->endsAfterCount);

    // The nth weekday written with BYSETPOS, the last weekday of a month, a year's nth weekday.
    const host::RecurrencePattern setPos = ruleOf("FREQ=MONTHLY;BYDAY=TU;BYSETPOS=2").pattern;
    EXPECT_EQ(std::tie(setPos.RecurrenceType, setPos.Instance, setPos.DayOfWeekMask),
              std::make_tuple(3, 2, 4));
    const host::RecurrencePattern last =
        ruleOf("FREQ=MONTHLY;BYDAY=MO,TU,WE,TH,FR;BYSETPOS=-1").pattern;
    EXPECT_EQ(std::tie(last.RecurrenceType, last.Instance, last.DayOfWeekMask),
              std::make_tuple(3, 5, 62));
    const host::RecurrencePattern yearNth = ruleOf("FREQ=YEARLY;BYMONTH=11;BYDAY=4TH").pattern;
    EXPECT_EQ(std::tie(yearNth.RecurrenceType, yearNth.Instance, yearNth.DayOfWeekMask,
                       yearNth.MonthOfYear),
              std::make_tuple(6, 4, 16, 11));
}

TEST(CalendarFile, RulesThePatternCannotHoldAreFlaggedAndKept) {
    const CalendarItem twice = only("event_unsupported_rule.ics");
    ASSERT_TRUE(twice.recurrence);
    EXPECT_FALSE(twice.recurrence->expressible);
    EXPECT_NE(twice.recurrence->unsupported.find("BYHOUR"), std::string::npos);
    for (const char* rule : {"FREQ=MONTHLY;BYDAY=TU;BYSETPOS=1,3", "FREQ=MONTHLY;BYDAY=1MO,3MO",
                             "FREQ=MONTHLY;BYDAY=-2FR", "FREQ=MONTHLY;BYMONTHDAY=-1", "FREQ=HOURLY",
                             "FREQ=WEEKLY;INTERVAL=2;BYDAY=MO,TH;WKST=SU"}) {
        const Recurrence rec = ruleOf(rule);
        EXPECT_FALSE(rec.expressible) << rule;
        EXPECT_FALSE(rec.unsupported.empty()) << rule;
    }
    // Written back, the rule is the one read, not a pattern's guess.
    CalendarData calendar;
    calendar.items.push_back(twice);
    const std::string text = CalendarFile::text(calendar);
    EXPECT_NE(text.find("BYHOUR=8,17"), std::string::npos) << text;
}

TEST(CalendarFile, TimesKeepTheirZone) {
    const CalendarData shanghai = CalendarFile::read(kData / "event_shanghai.ics");
    ASSERT_EQ(shanghai.items.size(), 1U);
    const CalendarItem& meeting = shanghai.items[0];
    EXPECT_EQ(meeting.start->zone, "Asia/Shanghai");
    EXPECT_EQ(meeting.start->local, day(2026, 3, 9) + 9h + 30min);
    EXPECT_EQ(meeting.start->utc, day(2026, 3, 9) + 1h + 30min);
    EXPECT_EQ(meeting.recurrence->exceptionDates.at(0).utc, day(2026, 3, 16) + 1h + 30min);
    EXPECT_EQ(meeting.summary, "上海周会");
    EXPECT_EQ(meeting.categories, std::vector<std::string>{"客户"});
    EXPECT_EQ(shanghai.timeZones.size(), 1U);

    const CalendarItem holiday = only("event_all_day.ics");
    EXPECT_TRUE(holiday.allDayEvent());
    EXPECT_EQ(holiday.start->local, day(2026, 5, 1));
    EXPECT_FALSE(holiday.start->utc);

    const CalendarItem floating = only("event_monthly_14th.ics");
    EXPECT_FALSE(floating.allDayEvent());
    EXPECT_EQ(floating.start->zone, "");
    EXPECT_FALSE(floating.start->utc);

    const CalendarItem utc = only("event_daily_no_end.ics");
    EXPECT_EQ(utc.start->zone, "UTC");
    EXPECT_EQ(utc.end->utc, day(2026, 3, 1) + 8h + 15min); // from DURATION

    // A zone the file does not define comes from libical's table, and is written with it.
    CalendarData berlin;
    CalendarItem item;
    item.uid = "berlin";
    item.start = CalendarTime{day(2026, 7, 1) + 10h, "Europe/Berlin", false, std::nullopt};
    berlin.items.push_back(item);
    const CalendarData reread = CalendarFile::parse(CalendarFile::text(berlin), "berlin.ics");
    EXPECT_EQ(reread.problem, "");
    EXPECT_EQ(reread.items.at(0).start->utc, day(2026, 7, 1) + 8h);
}

TEST(CalendarFile, ItemsKeepTheirFields) {
    const CalendarItem sync = only("event_weekly_mon_wed.ics");
    EXPECT_EQ(sync.kind, CalendarItemKind::Event);
    EXPECT_EQ(sync.uid, "weekly_mon_wed@example.com");
    EXPECT_EQ(sync.summary, "Team sync, weekly");
    EXPECT_EQ(sync.description, "Agenda:\nfirst; second");
    EXPECT_EQ(sync.location, "Room 3");
    EXPECT_EQ(sync.categories, (std::vector<std::string>{"Work", "Planning"}));
    EXPECT_TRUE(sync.reminderSet);
    EXPECT_EQ(sync.reminderMinutesBeforeStart, 30);
    ASSERT_EQ(sync.otherProperties.size(), 1U);
    EXPECT_EQ(sync.otherProperties[0].rfind("ATTENDEE", 0), 0U);
    EXPECT_FALSE(only("event_all_day.ics").reminderSet);

    const CalendarItem task = only("task_report.ics");
    EXPECT_EQ(task.kind, CalendarItemKind::Task);
    EXPECT_EQ(task.summary, "写报告");
    EXPECT_EQ(task.end->utc, day(2026, 3, 5) + 17h);
    const CalendarItem note = only("note_call.ics");
    EXPECT_EQ(note.kind, CalendarItemKind::Note);
    EXPECT_EQ(note.description, "Called Wang, agreed on the price.");
}

TEST(CalendarFile, EveryFileReadsBackTheSameAfterWriting) {
    const std::filesystem::path copy =
        std::filesystem::temp_directory_path() / "velmora-calendar-copy.ics";
    for (const auto& entry : std::filesystem::directory_iterator(kData)) {
        if (entry.path().extension() != ".ics") continue;
        const CalendarData first = CalendarFile::read(entry.path());
        CalendarFile::write(copy, first);
        const CalendarData second = CalendarFile::read(copy);
        EXPECT_EQ(second.items, first.items) << entry.path() << "\n" << CalendarFile::text(first);
        EXPECT_EQ(second.timeZones, first.timeZones) << entry.path();
    }
    std::filesystem::remove(copy);
    const std::string counted =
        CalendarFile::text(CalendarFile::read(kData / "event_daily_count.ics"));
    EXPECT_NE(counted.find("COUNT=10"), std::string::npos) << counted;
}

TEST(CalendarFile, BrokenFilesGiveWhatTheyHoldAndOneMessage) {
    const std::string broken = (kData / "event_broken.ics").string();
    const CalendarData calendar = CalendarFile::read(broken);
    ASSERT_EQ(calendar.items.size(), 2U);
    EXPECT_EQ(calendar.items[0].summary, "Broken but readable");
    EXPECT_EQ(calendar.items[0].categories, std::vector<std::string>{"Kept"});
    EXPECT_FALSE(calendar.items[0].start);
    EXPECT_FALSE(calendar.items[0].recurrence);
    EXPECT_EQ(calendar.items[1].summary, "Cut short");
    EXPECT_EQ(calendar.problem.rfind("Calendar file " + broken + ": ", 0), 0U) << calendar.problem;
    EXPECT_NE(calendar.problem.find("DTSTART"), std::string::npos) << calendar.problem;
    EXPECT_NE(calendar.problem.find("RRULE"), std::string::npos) << calendar.problem;

    const CalendarData far = CalendarFile::read(kData / "event_unknown_zone.ics");
    ASSERT_EQ(far.items.size(), 1U);
    EXPECT_EQ(far.items[0].start->local, day(2026, 3, 1) + 8h);
    EXPECT_FALSE(far.items[0].start->utc);
    EXPECT_NE(far.problem.find("unknown time zone \"Mars/Olympus\""), std::string::npos)
        << far.problem;

    // A day past the end of its month is counted on, for the item and its rule alike.
    const CalendarData leap = CalendarFile::parse(
        "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:x\r\nDTSTART;VALUE=DATE:20230230\r\n"
        "RRULE:FREQ=YEARLY\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n",
        "leap.ics");
    ASSERT_EQ(leap.items.size(), 1U);
    EXPECT_EQ(leap.items[0].start->local, day(2023, 3, 2));
    EXPECT_EQ(leap.items[0].recurrence->pattern.DayOfMonth, 2);
    EXPECT_EQ(leap.items[0].recurrence->pattern.MonthOfYear, 3);
    EXPECT_NE(leap.problem.find("the time 20230230 is not in the calendar; it is read as 20230302"),
              std::string::npos)
        << leap.problem;

    for (const char* text : {"", "hello world\n", "END:VCALENDAR\r\n"}) {
        try {
            CalendarFile::parse(text, "odd.ics");
            ADD_FAILURE() << "no error for \"" << text << "\"";
        } catch (const ItemFileError& e) {
            EXPECT_EQ(std::string(e.what()),
                      "Cannot read calendar file odd.ics: it holds no calendar");
        }
    }
    const std::filesystem::path gone = kData / "event_gone.ics";
    EXPECT_THROW(
        {
            try {
                CalendarFile::read(gone);
            } catch (const ItemFileError& e) {
                EXPECT_NE(std::string(e.what()).find(gone.string()), std::string::npos);
                throw;
            }
        },
        ItemFileError);
    EXPECT_THROW(CalendarFile::write(kData / "no-such-folder" / "x.ics", calendar), ItemFileError);
}

TEST(CalendarFile, BytesThatAreNotUtf8TextAreReplacedAndNamed) {
    // A Latin-1 summary with a form feed libical would drop on writing, a location whose \F
    // libical reads as one, and a broken line whose stray byte the problem would quote.
    const CalendarData calendar =
        rewrittenAlike("BEGIN:VCALENDAR\r\nVERSION:2.0\r\nBEGIN:VEVENT\r\nUID:"
                       "latin\r\nSUMMARY:Caf\xe9\x0c!\r\nLOCATION:A\\Fb\r\n"
                       "DTSTART:2024\xbb"
                       "0101\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n");
    EXPECT_EQ(calendar.items.at(0).summary, "Caf\uFFFD\uFFFD!");
    EXPECT_EQ(calendar.items.at(0).location, "A\uFFFDb");
    EXPECT_NE(calendar.problem.find("bytes that are not UTF-8 text are read as U+FFFD"),
              std::string::npos)
        << calendar.problem;
    EXPECT_EQ(calendar.problem.find_first_of("\xbb\xe9"), std::string::npos) << calendar.problem;

    // libical cuts the broken line it quotes at a byte count, wherever a character falls.
    for (const std::string pad : {"", "a", "ab"}) {
        std::string name = "SUMM" + pad;
        for (int i = 0; i < 400; ++i)
            name += "王";
        const std::string problem =
            CalendarFile::parse("BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\n" + name +
                                    ":x\r\nEND:VEVENT\r\nEND:VCALENDAR\r\n",
                                "long.ics")
                .problem;
        EXPECT_NE(problem.find("SUMM" + pad + "王王"), std::string::npos) << problem;
        EXPECT_EQ(validUtf8(problem), problem);
    }
}

TEST(CalendarFile, LinesAndValuesEndAsTheyWouldOnceWritten) {
    // Old Mac files end every line with a lone CR; within a value it would vanish on the next
    // save. libical reads \2 as a blank, and drops blanks at the end of a line.
    const CalendarData calendar = rewrittenAlike(
        "BEGIN:VCALENDAR\rVERSION:2.0\rBEGIN:VEVENT\rUID:mac\rSUMMARY:Far a\\2\ryaw\r\n"
        "LOCATION:Pier\rEND:VEVENT\rEND:VCALENDAR\r");
    EXPECT_EQ(calendar.items.at(0).uid, "mac");
    EXPECT_EQ(calendar.items.at(0).summary, "Far a");
    EXPECT_EQ(calendar.items.at(0).location, "Pier");
    EXPECT_NE(calendar.problem.find("yaw"), std::string::npos) << calendar.problem;
}

} // namespace
} // namespace velmora::mailbox
