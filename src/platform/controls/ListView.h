// A report-style list view: keyed rows with icons and column texts, column headers, sorting,
// the current row, multi-selection and tick boxes, with the click and check events.
#pragma once

#include "platform/controls/Control.h"
#include "platform/controls/ListItemCollection.h"

#include <string>
#include <vector>

namespace velmora::controls {

// The column headers: title, width in twips and header icon, 1-based. Column 1 is the rows' main
// text, column k + 1 their sub-item k.
struct ColumnHeader {
    int index = 0;
    std::string text;
    int width = 0;
    int icon = 0; // 0 means no header icon
};

class ColumnHeaderCollection {
  public:
    // Appends a column; a negative width is refused.
    ColumnHeader& Add(std::string text, int width, int icon = 0);
    const ColumnHeader& Item(int index) const;
    ColumnHeader& Item(int index);
    void Clear() { columns_.clear(); }
    int Count() const { return static_cast<int>(columns_.size()); }

  private:
    std::vector<ColumnHeader> columns_;
};

enum ListSortOrder { lvwAscending = 0, lvwDescending = 1 };
enum ListViewStyle { lvwIcon = 0, lvwSmallIcon = 1, lvwList = 2, lvwReport = 3 };
enum ListLabelEdit { lvwAutomatic = 0, lvwManual = 1 };

class ListView : public Control {
  public:
    explicit ListView(std::string name, int index = -1);
    std::string kind() const override { return "ListView"; }
    bool hasCaption() const override { return false; }

    ListItemCollection& ListItems() { return items_; }
    const ListItemCollection& ListItems() const { return items_; }
    ColumnHeaderCollection& ColumnHeaders() { return columns_; }
    const ColumnHeaderCollection& ColumnHeaders() const { return columns_; }

    // Sorting collates the sort column's text (accents and Chinese as users expect, letter case
    // ignored) and keeps rows that compare equal in their present order. The rows are sorted
    // when Sorted is switched on and when SortKey or SortOrder changes while it is on; while it
    // is on, a row added or whose sort-column text changes moves to where it belongs.
    bool Sorted() const { return sorted_; }
    void setSorted(bool sorted);
    // 0 sorts by the main text, k by sub-item k.
    int SortKey() const { return sortKey_; }
    void setSortKey(int sortKey);
    int SortOrder() const { return sortOrder_; }
    void setSortOrder(int sortOrder);

    // The current row, or none. It need not be selected; removing it leaves no current row.
    ListItem* SelectedItem() const { return current_; }
    // Makes the row current and selected; none clears the current row and every selection.
    void setSelectedItem(ListItem* item);

    bool MultiSelect() const { return multiSelect_; }
    void setMultiSelect(bool multiSelect);
    bool Checkboxes() const { return checkboxes_; }
    void setCheckboxes(bool checkboxes) { checkboxes_ = checkboxes; }
    int View() const { return view_; }
    void setView(int view);
    int LabelEdit() const { return labelEdit_; }
    void setLabelEdit(int labelEdit);
    // In twips; column layouts are computed from it.
    int Width() const { return width_; }
    void setWidth(int width);

    host::EventSource<int> ColumnClick; // 1-based column
    host::EventSource<ListItem&> ItemClick;
    host::EventSource<> DblClick;
    host::EventSource<ListItem&> ItemCheck;

    // The user's actions, refused on a disabled or hidden list.
    void clickColumn(int column);
    // Makes the row current and the only selected one, then raises ItemClick.
    void clickItem(ListItem& item);
    void doubleClickItem(ListItem& item);
    // Ticks or clears the row's box and raises ItemCheck; the list must have tick boxes.
    void checkItem(ListItem& item, bool checked);

  protected:
    void restoreDesign() override;
    void describeState(std::ostream& out) const override;
    void describeDetails(std::ostream& out) const override;

  private:
    friend class ListItem;
    friend class ListItemCollection;
    void requireRow(const ListItem& item) const;
    void resort();
    // Moves a row added or changed in the sort column to its place while the list is sorted.
    void keepInOrder(ListItem& item);
    void keepInOrder(ListItem& item, int changedColumn);

    ListItemCollection items_;
    ColumnHeaderCollection columns_;
    bool sorted_ = false;
    int sortKey_ = 0;
    int sortOrder_ = lvwAscending;
    ListItem* current_ = nullptr;
    bool multiSelect_ = false;
    bool checkboxes_ = false;
    int view_ = lvwIcon;
    int labelEdit_ = lvwAutomatic;
    int width_ = 6000;
};

} // namespace velmora::controls
