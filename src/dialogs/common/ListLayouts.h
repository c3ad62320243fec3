// The column layouts of the picker lists: titles in both languages and widths computed from the
// list's own width, applied after clearing the columns, with report view and manual editing.
#pragma once

#include "dialogs/common/DialogContext.h"
#include "platform/controls/ListView.h"

#include <string>
#include <vector>

namespace velmora {

enum class ListLayout {
    contacts,          // attach dialogs and the share-appointment attach tab
    events,            // attach dialogs
    appointmentGroups, // share-appointment dialog
    groups             // share task, contact and email dialogs
};

// The width (twips) the picker lists of every dialog are designed with.
constexpr int pickerListWidth = 4800;

struct ColumnSpec {
    std::string title;
    int width = 0;
    int icon = 0;
};

// The columns of a layout for a list this wide (twips). Contact and event lists use a third of
// the width, group lists half of it, rounded to the nearest integer with ties to even.
std::vector<ColumnSpec> columnsFor(ListLayout layout, int listWidth, bool isChinese);

void applyListLayout(controls::ListView& list, ListLayout layout, bool isChinese);
void applyListLayout(controls::ListView& list, ListLayout layout, const DialogContext& state);

} // namespace velmora
