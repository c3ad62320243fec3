// The machinery both search dialogs run on, with what tells them apart as data: the controls and
// their captions, the search with its messages, time filter and match modes, OK and Apply.
#pragma once

#include "dialogs/common/DialogForm.h"
#include "dialogs/common/FormDesign.h"
#include "dialogs/search/SearchFilters.h"
#include "platform/controls/CaptionedControls.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/EntryControls.h"
#include "platform/controls/ListView.h"
#include "platform/text/Bilingual.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::dialogs {

// What tells one search dialog from the other, as data.
struct SearchProfile {
    std::string formName;
    int folderType = 0;           // the default folder searched
    int itemClass = 0;            // the class of the items Contains looks at
    std::int16_t creatorKind = 0; // the server-id kind of the items found
    int rowIcon = 0;              // the small icon of a result row
    // inBox, and per field the property groups whose joined text Contains looks in (any group
    // holding the words matches) and the terms Equals compares with the words.
    std::vector<text::Bilingual> fields;
    std::vector<std::vector<std::vector<std::string_view>>> containsGroups;
    std::vector<std::vector<std::string_view>> equalsTerms;
    // timeBox, and per time field the filtered property ("[creationTime]"); fields up to
    // calendarTimeFields offer the calendar's ranges, the others the past ones.
    std::vector<text::Bilingual> times;
    std::vector<const char*> timeProperties;
    int calendarTimeFields = 0;
    std::array<text::Bilingual, 5> columns;
    std::array<const char*, 4> resultProperties{}; // columns 2 to 5 of a result row
    // Adds the picked items with their creators to the search target.
    void (*addToTarget)(StoreContext& state, controls::ListView& target,
                        const std::vector<std::string>& keys,
                        const std::vector<std::string>& creators) = nullptr;
    std::int16_t UiIndices::*fieldIndex = nullptr;
    std::int16_t UiIndices::*modeIndex = nullptr;
    std::int16_t UiIndices::*timeIndex = nullptr;
    std::int16_t UiIndices::*rangeIndex = nullptr;
    std::int16_t anytimeSavedAs = 0; // the range remembered when "anytime" is left chosen
    const char* timeTag = "";
    const char* okTag = "";
    const char* unloadTag = "";
};

// A search over the default folder of its profile by words, field, match mode and time range,
// adding the ticked results to the calling dialog's search target.
class SearchDialogBase : public DialogForm {
  protected:
    SearchDialogBase(DialogContext& state, SearchProfile profile);

  private:
    void Form_Load() override;
    void Form_Unload() override;
    void timeBox_Click();
    void Search_Click();
    void Check1_Click();
    void ListView_ColumnClick(int column);
    void OK_Click();
    void Apply_Click();
    void Cancel_Click();

    void setCaptions();
    void fillCombos();
    void prepareResultList();
    void fillRanges(int timeField);
    const std::vector<search::RangeChoice>& rangesFor(int timeField) const;
    std::string timeProperty(int timeField) const;
    bool containsWords(const host::Item& item, int field, const std::string& words) const;
    void search(const std::string& words);
    // Each reports its own failure under its own tag; the rows found until then stay.
    void searchContains(const host::Items& items, const std::string& words);
    void searchEquals(const host::Items& items, const std::string& words);
    void addResultRow(const host::Item& item);
    void pick(bool close);

    SearchProfile profile_;
    controls::TextBox& searchWords_;
    controls::ComboBox& inBox_;
    controls::ComboBox& comboVague_;
    controls::ComboBox& timeBox_;
    controls::ComboBox& selectTime_;
    controls::CommandButton& search_;
    controls::ListView& list_;
    controls::CheckBox& check1_;
    const std::vector<search::RangeChoice>* shownRanges_ = nullptr;
};

} // namespace velmora::dialogs
