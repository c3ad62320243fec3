// What the contact and event searches share below the dialog: the time ranges and their filter
// texts, the equality filters, and the trimming and lowering of the texts compared.
#pragma once

#include "platform/host/ObjectModel.h"
#include "platform/text/Bilingual.h"

#include <string>
#include <string_view>
#include <vector>

namespace velmora::search {

enum class TimeRange {
    anytime,
    yesterday,
    today,
    tomorrow,
    last7Days,
    next7Days,
    lastWeek,
    thisWeek,
    nextWeek,
    lastMonth,
    thisMonth,
    nextMonth
};

// One entry of a time-range list with its captions.
struct RangeChoice {
    TimeRange range;
    text::Bilingual caption;
};

// "anytime" to "this month": the ranges of creation and modification times.
const std::vector<RangeChoice>& pastRangeChoices();
// "anytime" to "next month": the ranges of an event's start and end.
const std::vector<RangeChoice>& calendarRangeChoices();

// The half-open day range [from, to) of a range, computed from the day of now; weeks begin on
// Sunday. Raises std::invalid_argument for anytime, which has no bounds.
struct DayRange {
    host::DateTime from;
    host::DateTime to;
};
DayRange rangeBounds(TimeRange range, host::DateTime now);

// The host filter limiting property (e.g. "[creationTime]") to the range: day ranges name the
// lower bound first, week and month ranges the upper bound first.
std::string timeFilter(std::string_view property, TimeRange range, host::DateTime now);

// A filter that compares each term with words, e.g. terms {"[lastname]", " Or [firstname]"}.
// Words holding a single quote are written between double quotes, so any typed text stays one
// operand and selects what was typed.
std::string equalsFilter(const std::vector<std::string_view>& terms, const std::string& words);

// Blanks trimmed from both ends; letter case folded in every script ("MÜLLER" gives "müller";
// Chinese, having no case, is kept).
std::string trimmed(std::string_view text);
std::string lowered(std::string_view text);

// Whether the trimmed, lowered field holds words (already lowered), as a substring.
bool fieldContains(std::string_view field, std::string_view words);

// The texts of several item properties joined with single blanks.
std::string joinedProperties(const host::Item& item, const std::vector<std::string_view>& names);

} // namespace velmora::search
