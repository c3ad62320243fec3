// The machinery both search dialogs run on: the controls and their captions, the search with its
// messages, time filter and match modes, Select All, OK and Apply, Escape and the saved positions.
#include "dialogs/search/SearchDialogBase.h"

#include "dialogs/common/DualListPicker.h"
#include "links/PublicModules.h"
#include "store/ErrorTrap.h"

#include <stdexcept>
#include <utility>

namespace velmora::dialogs {

namespace {

const Bilingual label1Caption{"Search for the Word(s): ", "查找关键字: "};
const Bilingual label2Caption{"In: ", "要查找的字段: "};
const Bilingual label3Caption{"Time: ", "时间范围: "};
const Bilingual searchCaption{"Search", "查找"};
const Bilingual check1Caption{"Select All", "全部选中"};
const Bilingual okCaption{"OK", "确定"};
const Bilingual cancelCaption{"Cancel", "取消"};
const Bilingual applyCaption{"Apply", "应用"};
const std::vector<Bilingual> modeEntries{{"Contains", "包含"}, {"Equals", "等于"}};
const Bilingual emptyWordsMessage{"The search words can not be empty.", "查找关键字不能为空。"};
const Bilingual noItemMessage{"No item found.", "找不到符合条件的项目。"};

constexpr int creatorColumn = 5;
constexpr int leadingColumnWidth = 350;

// A remembered position, or the first entry when the list has no such entry.
int entryOrFirst(const controls::ComboBox& combo, int index) {
    return index >= 0 && index < combo.ListCount() ? index : 0;
}

} // namespace

SearchDialogBase::SearchDialogBase(DialogContext& state, SearchProfile profile)
    : state_(state), profile_(std::move(profile)), form_(profile_.formName),
      searchWords_(form_.add<controls::TextBox>("searchWords")),
      inBox_(form_.add<controls::ComboBox>("inBox")),
      comboVague_(form_.add<controls::ComboBox>("comboVague")),
      timeBox_(form_.add<controls::ComboBox>("timeBox")),
      selectTime_(form_.add<controls::ComboBox>("selectTime")),
      search_(form_.add<controls::CommandButton>("Search")),
      list_(form_.add<controls::ListView>("ListView")),
      check1_(form_.add<controls::CheckBox>("Check1")),
      ok_(form_.add<controls::CommandButton>("OK")),
      cancel_(form_.add<controls::CommandButton>("Cancel")),
      apply_(form_.add<controls::CommandButton>("Apply")),
      label1_(form_.add<controls::Label>("Label1")), label2_(form_.add<controls::Label>("Label2")),
      label3_(form_.add<controls::Label>("Label3")) {
    list_.setCheckboxes(true);
    search_.setDefault(true);
    cancel_.setCancel(true);
    subscriptions_.push_back(form_.Load.subscribe([this] { onLoad(); }));
    subscriptions_.push_back(form_.Unload.subscribe([this](int&) { onUnload(); }));
    subscriptions_.push_back(timeBox_.Click.subscribe([this] { onTimeFieldChosen(); }));
    subscriptions_.push_back(search_.Click.subscribe([this] { onSearch(); }));
    subscriptions_.push_back(check1_.Click.subscribe([this] { onSelectAll(); }));
    subscriptions_.push_back(
        list_.ColumnClick.subscribe([this](int column) { SortListByColumn(list_, column); }));
    subscriptions_.push_back(ok_.Click.subscribe([this] { onPick(true); }));
    subscriptions_.push_back(apply_.Click.subscribe([this] { onPick(false); }));
    subscriptions_.push_back(cancel_.Click.subscribe([this] { form_.unload(); }));
    subscriptions_.push_back(closeOnEscapeFromAnyControl(form_));
    form_.keepAsDesigned();
}

void SearchDialogBase::Show(bool modal, controls::Form* owner) {
    form_.Show(modal, owner);
}

const char* SearchDialogBase::text(const Bilingual& caption) const {
    return state_.isChinese ? caption.chinese : caption.english;
}

void SearchDialogBase::onLoad() {
    label1_.setCaption(text(label1Caption));
    label2_.setCaption(text(label2Caption));
    label3_.setCaption(text(label3Caption));
    search_.setCaption(text(searchCaption));
    check1_.setCaption(text(check1Caption));
    ok_.setCaption(text(okCaption));
    cancel_.setCaption(text(cancelCaption));
    apply_.setCaption(text(applyCaption));

    const auto fill = [this](controls::ComboBox& combo, const std::vector<Bilingual>& entries) {
        combo.Clear();
        for (const Bilingual& entry : entries)
            combo.AddItem(text(entry));
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
    onTimeFieldChosen();
    selectTime_.setListIndex(entryOrFirst(selectTime_, ui.*profile_.rangeIndex));

    list_.ListItems().Clear();
    list_.ColumnHeaders().Clear();
    const int width = (list_.Width() - leadingColumnWidth) / 5;
    list_.ColumnHeaders().Add("", leadingColumnWidth, 1);
    for (const Bilingual& column : profile_.columns)
        list_.ColumnHeaders().Add(text(column), width > 0 ? width : 0);
    list_.setView(controls::lvwReport);
    list_.setLabelEdit(controls::lvwManual);
    check1_.setValue(controls::vbUnchecked);
    check1_.setEnabled(false);
    search_.setEnabled(true);
}

void SearchDialogBase::onTimeFieldChosen() {
    const int timeField = timeBox_.ListIndex();
    if (timeField <= 0) {
        selectTime_.setEnabled(false);
        return;
    }
    fillRanges(timeField);
    selectTime_.setEnabled(true);
}

void SearchDialogBase::fillRanges(int timeField) {
    const std::vector<search::RangeChoice>& ranges = rangesFor(timeField);
    if (shownRanges_ == &ranges) return; // the same list: keep the user's choice
    selectTime_.Clear();
    for (const search::RangeChoice& choice : ranges)
        selectTime_.AddItem(state_.isChinese ? choice.chinese : choice.english);
    selectTime_.setListIndex(0);
    shownRanges_ = &ranges;
}

void SearchDialogBase::onSearch() {
    errorTrap(state_, "search_Click :", [&] {
        const std::string words = search::lowered(search::trimmed(searchWords_.Text()));
        if (words.empty()) {
            showExclamation(state_, text(emptyWordsMessage));
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

        std::shared_ptr<host::Items> items = state_.application()
                                                 .GetNamespace("MAPI")
                                                 .GetDefaultFolder(profile_.folderType)
                                                 ->Items();
        const int timeField = timeBox_.ListIndex();
        const int rangeIndex = selectTime_.ListIndex();
        bool restricted = true;
        if (timeField > 0 && rangeIndex > 0 && shownRanges_ &&
            rangeIndex < static_cast<int>(shownRanges_->size())) {
            const search::TimeRange range = (*shownRanges_)[rangeIndex].range;
            restricted = errorTrap(state_, profile_.timeTag, [&] {
                items = items->Restrict(
                    search::timeFilter(timeProperty(timeField), range, state_.now()));
            });
        }
        // A refused time filter searches nothing (all items would not be what was asked); a
        // refused search reported its failure. Either way the search ends as every search does.
        if (restricted) {
            if (comboVague_.ListIndex() == 1)
                searchEquals(*items, words);
            else
                searchContains(*items, words);
        }
        search_.setEnabled(true);
        if (list_.ListItems().Count() == 0) {
            showInformation(state_, text(noItemMessage));
            return;
        }
        check1_.setEnabled(true);
    });
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
        const std::shared_ptr<host::Items> found =
            items.Restrict(search::equalsFilter(equalsTerms(field), words));
        const int count = found->Count();
        for (int i = 1; i <= count; ++i) {
            const host::ItemPtr item = found->Item(i);
            if (item) addResultRow(*item);
        }
    });
}

void SearchDialogBase::addResultRow(const host::Item& item) {
    const std::string key = item.EntryID();
    const std::array<std::string, 4> texts = resultTexts(item);
    const std::string creator = getItemCreator(state_, profile_.creatorKind, key);
    controls::ListItem& row = list_.ListItems().Add(0, key, "", 0, profile_.rowIcon);
    for (int column = 1; column <= 4; ++column)
        row.setSubItems(column, texts[static_cast<std::size_t>(column - 1)]);
    row.setSubItems(creatorColumn, creator);
}

void SearchDialogBase::onSelectAll() {
    if (!check1_.checked()) return;
    for (controls::ListItem* row : list_.ListItems().rows())
        row->setChecked(true);
}

void SearchDialogBase::onPick(bool close) {
    errorTrap(state_, profile_.okTag, [&] {
        std::vector<std::string> keys, creators;
        for (const controls::ListItem* row : list_.ListItems().rows()) {
            if (!row->Checked()) continue;
            keys.push_back(row->Key());
            creators.push_back(row->SubItems(creatorColumn));
        }
        if (!keys.empty()) {
            if (!state_.searchTarget)
                throw std::runtime_error("No list was given to add the chosen items to");
            addToTarget(*state_.searchTarget, keys, creators);
        }
    });
    if (close) form_.unload();
}

void SearchDialogBase::onUnload() {
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
