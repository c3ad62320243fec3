// The dual list picker's row operations and move-button logic.
// Texts are compared after trimming blanks and folding letter case, as the lists show them.
#include "dialogs/common/DualListPicker.h"

#include "dialogs/common/RowIcons.h"
#include "platform/controls/ControlError.h"
#include "platform/controls/KeyCodes.h"
#include "platform/text/UnicodeText.h"
#include "store/TrimBlanks.h"

namespace velmora {

using controls::ListItem;
using controls::ListView;

namespace {

bool sameTexts(const ListItem& row, const std::string& text1, const std::string& text2) {
    return text::equalsIgnoringCase(trimBlanks(row.SubItems(1)), text1) &&
           text::equalsIgnoringCase(trimBlanks(row.SubItems(2)), text2);
}

bool holdsSameTexts(const ListView& list, const std::string& text1, const std::string& text2) {
    const std::string t1 = trimBlanks(text1);
    const std::string t2 = trimBlanks(text2);
    for (const ListItem* row : list.ListItems().rows())
        if (sameTexts(*row, t1, t2)) return true;
    return false;
}

ListItem& addBareRow(ListView& list, int icon) {
    ListItem& row = list.ListItems().Add();
    if (icon != noRowIcon) row.setSmallIcon(icon);
    return row;
}

} // namespace

bool IsGeneratedRowKey(std::string_view key) {
    // The marker has no letters, so ignoring case changes nothing in the search.
    return key == "-1" || key.find(generatedKeyMarker) != std::string_view::npos;
}

std::string GenerateRowKey(const ListView* list) {
    const std::string marker(generatedKeyMarker);
    if (!list) return marker + "1";
    long counter = 1;
    for (const ListItem* row : list->ListItems().rows())
        if (row->Key().find(marker) != std::string::npos) ++counter;
    while (list->ListItems().contains(marker + std::to_string(counter)))
        ++counter;
    return marker + std::to_string(counter);
}

bool AddListRow(ListView& list, int icon, const std::string& key, const std::string& text1,
                const std::string& text2, const std::string& text3) {
    if (trimBlanks(text1 + text2).empty()) return false;
    std::string rowKey = key;
    if (key == "-1") {
        if (holdsSameTexts(list, text1, text2)) return false;
        rowKey = GenerateRowKey(&list);
    }
    ListItem& row = addBareRow(list, icon);
    if (key != "-1") {
        try {
            row.setKey(rowKey);
        } catch (const controls::DuplicateKeyError&) {
            list.ListItems().Remove(row.Index());
            return false;
        }
    } else {
        row.setKey(rowKey);
    }
    row.setSubItems(1, trimBlanks(text1));
    row.setSubItems(2, trimBlanks(text2));
    row.setSubItems(3, trimBlanks(text3));
    return true;
}

bool CopyListRow(const ListView& source, ListView& target, int icon, int index) {
    const ListItem& row = source.ListItems().Item(index);
    return AddListRow(target, icon, row.Key(), row.SubItems(1), row.SubItems(2), row.SubItems(3));
}

void RemoveListRowAt(ListView& list, int index) {
    if (index <= list.ListItems().Count()) list.ListItems().Remove(index);
}

void SortListByColumn(ListView& list, int column) {
    const bool ascendingNow = list.Sorted() && list.SortOrder() == controls::lvwAscending;
    list.setSortKey(column - 1);
    list.setSortOrder(ascendingNow ? controls::lvwDescending : controls::lvwAscending);
    list.setSorted(true);
}

void CloseOnEscape(int keyCode, controls::Form& form) {
    if (keyCode == controls::vbKeyEscape) form.unload();
}

bool AddShareListRow(ListView& list, int icon, const std::string& key, const std::string& text1,
                     const std::string& text2) {
    if (holdsSameTexts(list, text1, text2) || list.ListItems().contains(key)) return false;
    const std::string rowKey = key == "-1" ? GenerateRowKey(&list) : key;
    ListItem& row = addBareRow(list, icon);
    row.setKey(rowKey);
    row.setSubItems(1, trimBlanks(text1));
    row.setSubItems(2, trimBlanks(text2));
    return true;
}

bool CopyShareListRow(const ListView& source, ListView& target, int icon, int index) {
    const ListItem& row = source.ListItems().Item(index);
    return AddShareListRow(target, icon, row.Key(), row.SubItems(1), row.SubItems(2));
}

host::Subscription closeOnEscapeFromAnyControl(controls::Form& form) {
    form.setKeyPreview(true);
    controls::Form* target = &form;
    return form.KeyDown.subscribe([target](int& keyCode, int) { CloseOnEscape(keyCode, *target); });
}

MoveResult copySelectedRow(const ListView& left, ListView& right, int icon, RowCopy copy) {
    const ListItem* current = left.SelectedItem();
    if (!current) return {};
    if (left.ListItems().Count() == right.ListItems().Count()) return {true, false};
    return {true, copy(left, right, icon, current->Index())};
}

MoveResult copyAllRows(const ListView& left, ListView& right, int icon, RowCopy copy) {
    const int rows = left.ListItems().Count();
    // Equal counts refuse copy all outright, unlike copy selected, which still counts as pressed.
    if (rows == 0 || rows == right.ListItems().Count()) return {};
    const int before = right.ListItems().Count();
    for (int i = 1; i <= rows; ++i)
        copy(left, right, icon, i);
    return {true, right.ListItems().Count() != before};
}

MoveResult removeAllRows(ListView& right) {
    if (right.ListItems().Count() == 0) return {};
    right.ListItems().Clear();
    return {true, true};
}

MoveResult removeSelectedRow(ListView& right) {
    const ListItem* current = right.SelectedItem();
    if (!current) return {};
    const int before = right.ListItems().Count();
    RemoveListRowAt(right, current->Index());
    return {true, right.ListItems().Count() != before};
}

} // namespace velmora
