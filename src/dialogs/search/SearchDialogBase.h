// The machinery both search dialogs run on: the controls and their captions, the search with its
// messages, time filter and match modes, Select All, OK and Apply, Escape and the saved positions.
#pragma once

#include "dialogs/common/DialogContext.h"
#include "dialogs/search/SearchFilters.h"
#include "platform/controls/CheckBox.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/CommandButton.h"
#include "platform/controls/Form.h"
#include "platform/controls/Label.h"
#include "platform/controls/ListView.h"
#include "platform/controls/TextBox.h"

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::dialogs {

// A caption in both languages.
struct Bilingual {
    const char* english;
    const char* chinese;
};

// What tells one search dialog from the other, as data.
struct SearchProfile {
    std::string formName;
    int folderType = 0;            // the default folder searched
    std::int16_t creatorKind = 0;  // the server-id kind of the items found
    int rowIcon = 0;               // the small icon of a result row
    std::vector<Bilingual> fields; // inBox
    std::vector<Bilingual> times;  // timeBox
    std::array<Bilingual, 5> columns;
    std::int16_t UiIndices::*fieldIndex = nullptr;
    std::int16_t UiIndices::*modeIndex = nullptr;
    std::int16_t UiIndices::*timeIndex = nullptr;
    std::int16_t UiIndices::*rangeIndex = nullptr;
    std::int16_t anytimeSavedAs = 0; // the range remembered when "anytime" is left chosen
    const char* timeTag = "";
    const char* okTag = "";
    const char* unloadTag = "";
};

class SearchDialogBase {
  public:
    SearchDialogBase(const SearchDialogBase&) = delete;
    SearchDialogBase& operator=(const SearchDialogBase&) = delete;
    virtual ~SearchDialogBase() = default;

    controls::Form& form() { return form_; }
    // Loads the dialog (its load sequence runs on the form's Load) and shows it.
    void Show(bool modal = false, controls::Form* owner = nullptr);

  protected:
    SearchDialogBase(DialogContext& state, SearchProfile profile);

    // The time-range list offered for a time field (1 and up).
    virtual const std::vector<search::RangeChoice>& rangesFor(int timeField) const = 0;
    // The filtered property of a time field, e.g. "[creationTime]".
    virtual std::string timeProperty(int timeField) const = 0;
    // Contains: whether the item's field group holds the (lowered, trimmed) words.
    virtual bool containsWords(const host::Item& item, int field,
                               const std::string& words) const = 0;
    // Equals: the terms compared with the words for a field group.
    virtual std::vector<std::string_view> equalsTerms(int field) const = 0;
    // Columns 2 to 5 of a result row (the creator column is added here).
    virtual std::array<std::string, 4> resultTexts(const host::Item& item) const = 0;
    // Adds the picked items with their creators to the search target.
    virtual void addToTarget(controls::ListView& target, const std::vector<std::string>& keys,
                             const std::vector<std::string>& creators) = 0;

    DialogContext& state_;

  private:
    void onLoad();
    void onUnload();
    void onTimeFieldChosen();
    void fillRanges(int timeField);
    void onSearch();
    // Each reports its own failure under its own tag; the rows found until then stay.
    void searchContains(const host::Items& items, const std::string& words);
    void searchEquals(const host::Items& items, const std::string& words);
    void addResultRow(const host::Item& item);
    void onSelectAll();
    void onPick(bool close);
    const char* text(const Bilingual& caption) const;

    SearchProfile profile_;
    controls::Form form_;
    controls::TextBox& searchWords_;
    controls::ComboBox& inBox_;
    controls::ComboBox& comboVague_;
    controls::ComboBox& timeBox_;
    controls::ComboBox& selectTime_;
    controls::CommandButton& search_;
    controls::ListView& list_;
    controls::CheckBox& check1_;
    controls::CommandButton& ok_;
    controls::CommandButton& cancel_;
    controls::CommandButton& apply_;
    controls::Label& label1_;
    controls::Label& label2_;
    controls::Label& label3_;
    const std::vector<search::RangeChoice>* shownRanges_ = nullptr;
    std::vector<host::Subscription> subscriptions_;
};

} // namespace velmora::dialogs
