// The machinery both search dialogs run on: the controls and their captions, the search with its
// messages, time filter and match modes, Select All, OK and Apply, Escape and the saved positions.
#include "dialogs/search/SearchDialogBase.h"

#include "dialogs/common/DualListPicker.h"
#include "links/PublicModules.h"
#include "platform/controls/CaptionedControls.h"
#include "store/ErrorTrap.h"
#include "store/StoreSession.h"

#include <algorithm>
#include <stdexcept>
#include <utility>

namespace velmora::dialogs {

namespace {

using enum ControlKind;

// The controls in the form's order; their captions are set at every load.
constexpr ControlDesign design[] = {
    {Text, "searchWords"}, {Combo, "inBox"},   {Combo, "comboVague"}, {Combo, "timeBox"},
    {Combo, "selectTime"}, {Button, "Search"}, {List, "ListView"},    {Check, "Check1"},
    {Button, "OK"},        {Button, "Cancel"}, {Button, "Apply"},     {Label, "Label1"},
    {Label, "Label2"},     {Label, "Label3"},
};

struct CaptionRow {
    const char* control;
    text::Bilingual caption;
};

constexpr CaptionRow captions[] = {
    {"Label1", {.english = "Search for the Word(s): ", .chinese = "查找关键字: "}},
    {"Label2", {.english = "In: ", .chinese = "要查找的字段: "}},
    {"Label3", {.english = "Time: ", .chinese = "时间范围: "}},
    {"Search", {.english = "Search", .chinese = "查找"}},
    {"Check1", {.english = "Select All", .chinese = "全部选中"}},
    {"OK", {.english = "OK", .chinese = "确定"}},
    {"Cancel", {.english = "Cancel", .chinese = "取消"}},
    {"Apply", {.english = "Apply", .chinese = "应用"}},
};

const std::vector<text::Bilingual> modeEntries{{.english = "Contains", .chinese = "包含"},
                                               {.english = "Equals", .chinese = "等于"}};
const text::Bilingual emptyWordsMessage{.english = "The search words can not be empty.",
                                        .chinese = "查找关键字不能为空。"};
const text::Bilingual noItemMessage{.english = "No item found.",
                                    .chinese = "找不到符合条件的项目。"};

constexpr int creatorColumn = 5;
constexpr int leadingColumnWidth = 350;

// A remembered position, or the first entry when the list has no such entry.
int entryOrFirst(const controls::ComboBox& combo, int index) {
    return index >= 0 && index < combo.ListCount() ? index : 0;
}

controls::TextBox& designForm(controls::Form& form) {
    addControls(form, design);
    return form.get<controls::TextBox>("searchWords");
}

} // namespace

SearchDialogBase::SearchDialogBase(DialogContext& state, SearchProfile profile)
    : DialogForm(state, profile.formName), profile_(std::move(profile)),
      searchWords_(designForm(form_)), inBox_(form_.get<controls::ComboBox>("inBox")),
      comboVague_(form_.get<controls::ComboBox>("comboVague")),
      timeBox_(form_.get<controls::ComboBox>("timeBox")),
      selectTime_(form_.get<controls::ComboBox>("selectTime")),
      search_(form_.get<controls::CommandButton>("Search")),
      list_(form_.get<controls::ListView>("ListView")),
      check1_(form_.get<controls::CheckBox>("Check1")) {
    list_.setCheckboxes(true);
    search_.setDefault(true);
    form_.get<controls::CommandButton>("Cancel").setCancel(true);
    using Dialog = SearchDialogBase;
    using enum FormEvent;
    wire({
        {"timeBox", Click, {*this, &Dialog::timeBox_Click}},
        {"Search", Click, {*this, &Dialog::Search_Click}},
        {"Check1", Click, {*this, &Dialog::Check1_Click}},
        {"ListView", ColumnClick, {*this, &Dialog::ListView_ColumnClick}},
        {"OK", Click, {*this, &Dialog::OK_Click}},
        {"Apply", Click, {*this, &Dialog::Apply_Click}},
        {"Cancel", Click, {*this, &Dialog::Cancel_Click}},
    });
}

// ---- Opening ----

void SearchDialogBase::Form_Load() {
    setCaptions();
    fillCombos();
    prepareResultList();
    check1_.setValue(controls::vbUnchecked);
    check1_.setEnabled(false);
    search_.setEnabled(true);
}

void SearchDialogBase::setCaptions() {
    for (const CaptionRow& row : captions)
        form_.get<controls::Control>(row.control).setCaption(say(state_, row.caption));
}

void SearchDialogBase::fillCombos() {
    const auto fill = [this](controls::ComboBox& combo,
                             const std::vector<text::Bilingual>& entries) {
        combo.Clear();
        for (const text::Bilingual& entry : entries)
            combo.AddItem(say(state_, entry));
    };
    fill(inBox_, profile_.fields);
    fill(comboVague_, modeEntries);
    fill(timeBox_, profile_.times);
    selectTime_.Clear();
    shownRanges_ = nullptr;

    const UiIndices& ui = state_.ui;
    inBox_.setListIndex(entryOrFirst(inBox_, ui.*profile_.fieldIndex));
    comboVague_.setListIndex(entryOrFirst(comboVague_, ui.*profile_.modeIndex));
    const int timeField = entryOrFirst(timeBox_, ui.*profile_.timeIndex);
    // The range list is there even while no time field is chosen, so the remembered range
    // survives a search without one.
    fillRanges(timeField == 0 ? 1 : timeField);
    timeBox_.setListIndex(timeField);
    timeBox_Click();
    selectTime_.setListIndex(entryOrFirst(selectTime_, ui.*profile_.rangeIndex));
}

void SearchDialogBase::prepareResultList() {
    list_.ListItems().Clear();
    list_.ColumnHeaders().Clear();
    const int width = (list_.Width() - leadingColumnWidth) / 5;
    list_.ColumnHeaders().Add("", leadingColumnWidth, 1);
    for (const text::Bilingual& column : profile_.columns)
        list_.ColumnHeaders().Add(say(state_, column), width > 0 ? width : 0);
    list_.setView(controls::lvwReport);
    list_.setLabelEdit(controls::lvwManual);
}

// ---- The time range ----

void SearchDialogBase::timeBox_Click() {
    const int timeField = timeBox_.ListIndex();
    if (timeField <= 0) {
        selectTime_.setEnabled(false);
        return;
    }
    fillRanges(timeField);
    selectTime_.setEnabled(true);
}

const std::vector<search::RangeChoice>& SearchDialogBase::rangesFor(int timeField) const {
    return timeField <= profile_.calendarTimeFields ? search::calendarRangeChoices()
                                                    : search::pastRangeChoices();
}

// A time field past the list's end filters the last property.
std::string SearchDialogBase::timeProperty(int timeField) const {
    const auto last = static_cast<int>(profile_.timeProperties.size()) - 1;
    return profile_.timeProperties[static_cast<std::size_t>(std::clamp(timeField, 0, last))];
}

void SearchDialogBase::fillRanges(int timeField) {
    const std::vector<search::RangeChoice>& ranges = rangesFor(timeField);
    if (shownRanges_ == &ranges) return; // the same list: keep the user's choice
    selectTime_.Clear();
    for (const search::RangeChoice& choice : ranges)
        selectTime_.AddItem(say(state_, choice.caption));
    selectTime_.setListIndex(0);
    shownRanges_ = &ranges;
}

// ---- Searching ----

void SearchDialogBase::Search_Click() {
    errorTrap(state_, "search_Click :", [&] {
        const std::string words = search::lowered(search::trimmed(searchWords_.Text()));
        if (words.empty()) {
            showExclamation(state_, say(state_, emptyWordsMessage));
            return;
        }
        search_.setEnabled(false);
        list_.ListItems().Clear();
        check1_.setValue(controls::vbUnchecked);
        check1_.setEnabled(false);
        // Whatever happens below, the user can search again.
        struct Reenable {
            controls::CommandButton& button;
            ~Reenable() { button.setEnabled(true); }
        } reenable{search_};
        search(words);
        search_.setEnabled(true);
        if (list_.ListItems().Count() == 0) {
            showInformation(state_, say(state_, noItemMessage));
            return;
        }
        check1_.setEnabled(true);
    });
}

void SearchDialogBase::search(const std::string& words) {
    std::shared_ptr<host::Items> items =
        state_.application().GetNamespace("MAPI").GetDefaultFolder(profile_.folderType)->Items();
    const int timeField = timeBox_.ListIndex();
    const int rangeIndex = selectTime_.ListIndex();
    if (timeField > 0 && rangeIndex > 0 && shownRanges_ &&
        rangeIndex < static_cast<int>(shownRanges_->size())) {
        const search::TimeRange range = (*shownRanges_)[rangeIndex].range;
        // A refused time filter searches nothing: all items would not be what was asked.
        if (!errorTrap(state_, profile_.timeTag, [&] {
                items = items->Restrict(
                    search::timeFilter(timeProperty(timeField), range, state_.now()));
            }))
            return;
    }
    if (comboVague_.ListIndex() == 1)
        searchEquals(*items, words);
    else
        searchContains(*items, words);
}

bool SearchDialogBase::containsWords(const host::Item& item, int field,
                                     const std::string& words) const {
    if (item.Class() != profile_.itemClass) return false;
    if (field < 0 || field >= static_cast<int>(profile_.containsGroups.size())) return false;
    for (const auto& group : profile_.containsGroups[static_cast<std::size_t>(field)])
        if (search::fieldContains(search::joinedProperties(item, group), words)) return true;
    return false;
}

void SearchDialogBase::searchContains(const host::Items& items, const std::string& words) {
    const int field = inBox_.ListIndex();
    errorTrap(state_, "getInConformable :", [&] {
        const int count = items.Count();
        for (int i = 1; i <= count; ++i) {
            const host::ItemPtr item = items.Item(i);
            if (item && containsWords(*item, field, words)) addResultRow(*item);
        }
    });
}

void SearchDialogBase::searchEquals(const host::Items& items, const std::string& words) {
    const int field = inBox_.ListIndex();
    errorTrap(state_, "getInUnVague:", [&] {
        if (field < 0 || field >= static_cast<int>(profile_.equalsTerms.size()))
            throw std::invalid_argument("No search field is chosen");
        const std::shared_ptr<host::Items> found = items.Restrict(
            search::equalsFilter(profile_.equalsTerms[static_cast<std::size_t>(field)], words));
        const int count = found->Count();
        for (int i = 1; i <= count; ++i) {
            const host::ItemPtr item = found->Item(i);
            if (item) addResultRow(*item);
        }
    });
}

void SearchDialogBase::addResultRow(const host::Item& item) {
    const std::string key = item.EntryID();
    std::array<std::string, 4> texts;
    for (std::size_t i = 0; i < texts.size(); ++i)
        texts[i] = item.Text(profile_.resultProperties[i]);
    const std::string creator = getItemCreator(state_, profile_.creatorKind, key);
    controls::ListItem& row = list_.ListItems().Add(0, key, "", 0, profile_.rowIcon);
    for (int column = 1; column <= 4; ++column)
        row.setSubItems(column, texts[static_cast<std::size_t>(column - 1)]);
    row.setSubItems(creatorColumn, creator);
}

// ---- Picking ----

void SearchDialogBase::Check1_Click() {
    if (!check1_.checked()) return;
    for (controls::ListItem* row : list_.ListItems().rows())
        row->setChecked(true);
}

void SearchDialogBase::ListView_ColumnClick(int column) {
    SortListByColumn(list_, column);
}

void SearchDialogBase::OK_Click() {
    pick(true);
}

void SearchDialogBase::Apply_Click() {
    pick(false);
}

void SearchDialogBase::pick(bool close) {
    errorTrap(state_, profile_.okTag, [&] {
        std::vector<std::string> keys, creators;
        for (const controls::ListItem* row : list_.ListItems().rows()) {
            if (!row->Checked()) continue;
            keys.push_back(row->Key());
            creators.push_back(row->SubItems(creatorColumn));
        }
        if (keys.empty()) return;
        if (!state_.searchTarget)
            throw std::runtime_error("No list was given to add the chosen items to");
        profile_.addToTarget(state_, *state_.searchTarget, keys, creators);
    });
    if (close) form_.unload();
}

// ---- Closing ----

void SearchDialogBase::Cancel_Click() {
    form_.unload();
}

void SearchDialogBase::Form_Unload() {
    errorTrap(state_, profile_.unloadTag, [&] {
        state_.searchTarget = nullptr;
        UiIndices& ui = state_.ui;
        const auto position = [](const controls::ComboBox& combo) {
            return static_cast<std::int16_t>(combo.ListIndex() < 0 ? 0 : combo.ListIndex());
        };
        ui.*profile_.fieldIndex = position(inBox_);
        ui.*profile_.modeIndex = position(comboVague_);
        ui.*profile_.timeIndex = position(timeBox_);
        const int range = selectTime_.ListIndex();
        ui.*profile_.rangeIndex =
            range >= 1 ? static_cast<std::int16_t>(range) : profile_.anytimeSavedAs;
    });
}

} // namespace velmora::dialogs
