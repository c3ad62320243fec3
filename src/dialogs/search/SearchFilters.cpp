// What the contact and event searches share below the dialog: the time ranges and their filter
// texts, the equality filters, and the trimming and lowering of the texts compared.
#include "dialogs/search/SearchFilters.h"

#include "links/PublicModules.h"
#include "platform/host/DateText.h"
#include "platform/text/AsciiText.h"
#include "platform/text/QuotedText.h"
#include "platform/text/UnicodeText.h"

#include <chrono>
#include <stdexcept>

namespace velmora::search {

using namespace std::chrono;

const std::vector<RangeChoice>& calendarRangeChoices() {
    static const std::vector<RangeChoice> choices{
        {TimeRange::anytime, {.english = "anytime", .chinese = "任何时间"}},
        {TimeRange::yesterday, {.english = "yesterday", .chinese = "昨天"}},
        {TimeRange::today, {.english = "today", .chinese = "今天"}},
        {TimeRange::tomorrow, {.english = "tomorrow", .chinese = "明天"}},
        {TimeRange::last7Days, {.english = "in the last 7 days", .chinese = "最近七天"}},
        {TimeRange::next7Days, {.english = "in the next 7 days", .chinese = "未来七天"}},
        {TimeRange::lastWeek, {.english = "last week", .chinese = "上周"}},
        {TimeRange::thisWeek, {.english = "this week", .chinese = "本周"}},
        {TimeRange::nextWeek, {.english = "next week", .chinese = "下周"}},
        {TimeRange::lastMonth, {.english = "last month", .chinese = "上个月"}},
        {TimeRange::thisMonth, {.english = "this month", .chinese = "本月"}},
        {TimeRange::nextMonth, {.english = "next month", .chinese = "下个月"}}};
    return choices;
}

// The calendar's ranges without those to come, in the same order.
const std::vector<RangeChoice>& pastRangeChoices() {
    static const std::vector<RangeChoice> choices = [] {
        std::vector<RangeChoice> past;
        for (const RangeChoice& choice : calendarRangeChoices())
            if (choice.range != TimeRange::tomorrow && choice.range != TimeRange::next7Days &&
                choice.range != TimeRange::nextWeek && choice.range != TimeRange::nextMonth)
                past.push_back(choice);
        return past;
    }();
    return choices;
}

namespace {

host::DateTime dayStart(sys_days day) {
    return host::DateTime(day);
}

DayRange daysFrom(sys_days today, int fromOffset, int toOffset) {
    return {dayStart(today + days(fromOffset)), dayStart(today + days(toOffset))};
}

DayRange weekFrom(sys_days today, int weekOffset) {
    const sys_days sunday = today - days(weekday(today).c_encoding()) + weeks(weekOffset);
    return {dayStart(sunday), dayStart(sunday + weeks(1))};
}

DayRange monthFrom(sys_days today, int monthOffset) {
    const year_month first =
        year_month_day(today).year() / year_month_day(today).month() + months(monthOffset);
    const sys_days from = sys_days(first / 1);
    const sys_days to = sys_days((first + months(1)) / 1);
    return {dayStart(from), dayStart(to)};
}

enum class Unit { day, week, month };

// A range as whole days from today, or as the week or month so many from this one. Week and
// month filters name their upper bound first.
struct RangeRule {
    TimeRange range;
    Unit unit;
    int from; // days, weeks or months from today's
    int to;   // days from today (days only)
};

constexpr RangeRule rangeRules[] = {
    {TimeRange::yesterday, Unit::day, -1, 0},   {TimeRange::today, Unit::day, 0, 1},
    {TimeRange::tomorrow, Unit::day, 1, 2},     {TimeRange::last7Days, Unit::day, -6, 1},
    {TimeRange::next7Days, Unit::day, 0, 7},    {TimeRange::lastWeek, Unit::week, -1, 0},
    {TimeRange::thisWeek, Unit::week, 0, 0},    {TimeRange::nextWeek, Unit::week, 1, 0},
    {TimeRange::lastMonth, Unit::month, -1, 0}, {TimeRange::thisMonth, Unit::month, 0, 0},
    {TimeRange::nextMonth, Unit::month, 1, 0},
};

const RangeRule& ruleOf(TimeRange range) {
    for (const RangeRule& rule : rangeRules)
        if (rule.range == range) return rule;
    throw std::invalid_argument("The time range anytime has no bounds");
}

// "MM/DD/YYYY 00:00": the day in the form the host's filters read, at midnight.
std::string filterDay(host::DateTime day) {
    return host::filterDateText(day).substr(0, 10) + " 00:00";
}

} // namespace

DayRange rangeBounds(TimeRange range, host::DateTime now) {
    const RangeRule& rule = ruleOf(range);
    const sys_days today = floor<days>(now);
    switch (rule.unit) {
    case Unit::day:
        return daysFrom(today, rule.from, rule.to);
    case Unit::week:
        return weekFrom(today, rule.from);
    case Unit::month:
        return monthFrom(today, rule.from);
    }
    throw std::logic_error("unknown range unit");
}

std::string timeFilter(std::string_view property, TimeRange range, host::DateTime now) {
    const DayRange bounds = rangeBounds(range, now);
    const std::string name(property);
    const std::string lower = name + ">='" + filterDay(bounds.from) + "'";
    const std::string upper = name + "<'" + filterDay(bounds.to) + "'";
    return ruleOf(range).unit != Unit::day ? upper + " And " + lower : lower + " And " + upper;
}

std::string equalsFilter(const std::vector<std::string_view>& terms, const std::string& words) {
    const std::string operand =
        words.find('\'') == std::string::npos ? "'" + words + "'" : text::filterLiteral(words);
    std::string filter;
    for (const std::string_view term : terms)
        filter.append(term).append("=").append(operand);
    return filter;
}

std::string trimmed(std::string_view text) {
    return std::string(text::trim(text, " \t\r\n"));
}

std::string lowered(std::string_view text) {
    return text::foldCase(text);
}

bool fieldContains(std::string_view field, std::string_view words) {
    return lowered(trimmed(field)).find(words) != std::string::npos;
}

std::string joinedProperties(const host::Item& item, const std::vector<std::string_view>& names) {
    if (names.empty()) return {};
    // The first text is taken as it comes: a group of one property copies nothing.
    std::string joined = item.Text(names.front());
    for (std::size_t i = 1; i < names.size(); ++i) {
        joined += ' ';
        joined += item.Text(names[i]);
    }
    return joined;
}

} // namespace velmora::search
