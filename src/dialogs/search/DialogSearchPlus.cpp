// The event search dialog: finds appointments of the default Calendar by words in the subject or
// location and by time range, and adds the ticked ones to the calling dialog's search target.
#include "dialogs/search/DialogSearchPlus.h"

#include "dialogs/common/ListFillers.h"
#include "links/PublicModules.h"

#include <stdexcept>

namespace velmora::dialogs {

namespace {

SearchProfile eventProfile() {
    SearchProfile p;
    p.formName = "DialogSearchPlus";
    p.folderType = host::olFolderCalendar;
    p.creatorKind = kindAppointment;
    p.rowIcon = 3;
    p.fields = {{"subject", "主题"}, {"Location", "地点"}};
    p.times = {{"none", "不查找时间"},
               {"starts", "开始时间"},
               {"ends", "结束时间"},
               {"created", "创建时间"},
               {"modified", "修改时间"}};
    p.columns = {Bilingual{"Subject", "主题"}, Bilingual{"Location", "地点"},
                 Bilingual{"Start Time", "开始时间"}, Bilingual{"End Time", "结束时间"},
                 Bilingual{"Creator", "创建者"}};
    p.fieldIndex = &UiIndices::eventSearchField;
    p.modeIndex = &UiIndices::eventSearchMode;
    p.timeIndex = &UiIndices::eventSearchTime;
    p.rangeIndex = &UiIndices::eventSearchTimeRange;
    p.anytimeSavedAs = 10;
    p.timeTag = "IsTimeConformable :";
    p.okTag = "SearchOK>>";
    p.unloadTag = "SearchEventUnload:";
    return p;
}

} // namespace

DialogSearchPlus::DialogSearchPlus(DialogContext& state)
    : SearchDialogBase(state, eventProfile()) {}

const std::vector<search::RangeChoice>& DialogSearchPlus::rangesFor(int timeField) const {
    return timeField <= 2 ? search::calendarRangeChoices() : search::pastRangeChoices();
}

std::string DialogSearchPlus::timeProperty(int timeField) const {
    switch (timeField) {
    case 1:
        return "[start]";
    case 2:
        return "[end]";
    case 3:
        return "[creationTime]";
    default:
        return "[lastmodificationtime]";
    }
}

bool DialogSearchPlus::containsWords(const host::Item& item, int field,
                                     const std::string& words) const {
    if (item.Class() != host::olAppointment) return false;
    return search::fieldContains(item.Text(field == 1 ? "Location" : "Subject"), words);
}

std::vector<std::string_view> DialogSearchPlus::equalsTerms(int field) const {
    switch (field) {
    case 0:
        return {"[subject]"};
    case 1:
        return {"[location]"};
    default:
        throw std::invalid_argument("No search field is chosen");
    }
}

std::array<std::string, 4> DialogSearchPlus::resultTexts(const host::Item& item) const {
    return {item.Text("Subject"), item.Text("Location"), item.Text("Start"), item.Text("End")};
}

void DialogSearchPlus::addToTarget(controls::ListView& target, const std::vector<std::string>& keys,
                                   const std::vector<std::string>& creators) {
    fillFoundAppointments(state_, target, keys, creators);
}

} // namespace velmora::dialogs
