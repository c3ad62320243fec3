// A report-style list view: property checks, sorting on demand, selection and user actions,
// and the text dump of its columns and rows.
#include "platform/controls/ListView.h"

#include "platform/controls/ControlError.h"

#include <utility>

namespace velmora::controls {

// A negative width usually means a layout computed from a list that was never sized.
ColumnHeader& ColumnHeaderCollection::Add(std::string text, int width, int icon) {
    if (width < 0)
        throw ControlError("Invalid property value: column width " + std::to_string(width) +
                           " for \"" + text + "\"");
    columns_.push_back(ColumnHeader{Count() + 1, std::move(text), width, icon});
    return columns_.back();
}

const ColumnHeader& ColumnHeaderCollection::Item(int index) const {
    if (index < 1 || index > Count())
        throw ControlError("Index out of bounds: column " + std::to_string(index));
    return columns_[static_cast<std::size_t>(index - 1)];
}

ColumnHeader& ColumnHeaderCollection::Item(int index) {
    return const_cast<ColumnHeader&>(std::as_const(*this).Item(index));
}

ListView::ListView(std::string name, int index) : Control(std::move(name), index), items_(*this) {
    designed(columns_, sorted_, sortKey_, sortOrder_, multiSelect_, checkboxes_, view_, labelEdit_,
             width_);
}

void ListView::setSorted(bool sorted) {
    sorted_ = sorted;
    resort();
}

void ListView::setSortKey(int sortKey) {
    if (sortKey < 0)
        throw ControlError("Invalid property value: SortKey " + std::to_string(sortKey) + " of " +
                           displayName());
    sortKey_ = sortKey;
    resort();
}

void ListView::setSortOrder(int sortOrder) {
    if (sortOrder != lvwAscending && sortOrder != lvwDescending)
        throw ControlError("Invalid property value: SortOrder " + std::to_string(sortOrder) +
                           " of " + displayName());
    sortOrder_ = sortOrder;
    resort();
}

void ListView::resort() {
    if (sorted_) items_.sort(sortKey_, sortOrder_ == lvwDescending);
}

void ListView::keepInOrder(ListItem& item) {
    if (sorted_) items_.place(item, sortKey_, sortOrder_ == lvwDescending);
}

void ListView::keepInOrder(ListItem& item, int changedColumn) {
    if (changedColumn == sortKey_) keepInOrder(item);
}

void ListView::setSelectedItem(ListItem* item) {
    if (!item) {
        current_ = nullptr;
        for (ListItem* row : items_.rows())
            row->selected_ = false;
        return;
    }
    requireRow(*item);
    item->setSelected(true);
}

void ListView::setMultiSelect(bool multiSelect) {
    multiSelect_ = multiSelect;
    if (!multiSelect)
        for (ListItem* row : items_.rows())
            row->selected_ = row == current_ && row->selected_;
}

void ListView::setView(int view) {
    if (view < lvwIcon || view > lvwReport)
        throw ControlError("Invalid property value: View " + std::to_string(view) + " of " +
                           displayName());
    view_ = view;
}

void ListView::setLabelEdit(int labelEdit) {
    if (labelEdit != lvwAutomatic && labelEdit != lvwManual)
        throw ControlError("Invalid property value: LabelEdit " + std::to_string(labelEdit) +
                           " of " + displayName());
    labelEdit_ = labelEdit;
}

void ListView::setWidth(int width) {
    if (width < 0)
        throw ControlError("Invalid property value: Width " + std::to_string(width) + " of " +
                           displayName());
    width_ = width;
}

void ListView::requireRow(const ListItem& item) const {
    if (item.owner_ != this) throw ControlError("The row does not belong to " + displayName());
}

void ListView::clickColumn(int column) {
    requireUsable("click a column of");
    columns_.Item(column);
    ColumnClick.raise(column);
}

void ListView::clickItem(ListItem& item) {
    requireUsable("click a row of");
    requireRow(item);
    // A plain click selects this row alone, also in a multi-select list.
    setSelectedItem(nullptr);
    item.setSelected(true);
    ItemClick.raise(item);
}

void ListView::doubleClickItem(ListItem& item) {
    clickItem(item);
    DblClick.raise();
}

void ListView::checkItem(ListItem& item, bool checked) {
    requireUsable("tick a row of");
    requireRow(item);
    if (!checkboxes_) throw ControlError(displayName() + " has no tick boxes");
    item.setChecked(checked);
    ItemCheck.raise(item);
}

void ListView::describeState(std::ostream& out) const {
    out << " view=" << view_ << " labelEdit=" << labelEdit_ << " width=" << width_
        << " sorted=" << sorted_ << " sortKey=" << sortKey_ << " sortOrder=" << sortOrder_
        << " multiSelect=" << multiSelect_ << " checkboxes=" << checkboxes_
        << " columns=" << columns_.Count() << " rows=" << items_.Count()
        << " current=" << (current_ ? current_->Index() : 0);
}

void ListView::describeDetails(std::ostream& out) const {
    for (int i = 1; i <= columns_.Count(); ++i) {
        const ColumnHeader& column = columns_.Item(i);
        out << "\n  column " << i << ' ' << quoted(column.text) << " width=" << column.width
            << " icon=" << column.icon;
    }
    for (const ListItem* row : items_.rows()) {
        out << "\n  row " << row->Index() << " key=" << quoted(row->Key())
            << " smallIcon=" << row->SmallIcon() << " selected=" << row->Selected()
            << " checked=" << row->Checked() << " text=" << quoted(row->Text());
        for (int k = 1; k <= row->subItemCount(); ++k)
            out << " sub" << k << '=' << quoted(row->SubItems(k));
        if (!row->Tag().empty()) out << " tag=" << quoted(row->Tag());
    }
}

void ListView::restoreDesign() {
    Control::restoreDesign();
    // Rows are never part of a design: every opening fills its lists itself.
    items_.Clear();
}

} // namespace velmora::controls
