// The column layouts of the picker lists in both languages.
// The first column shows only the row icon and carries the header icon.
#include "dialogs/common/ListLayouts.h"

#include "dialogs/common/RowIcons.h"

#include <cmath>

namespace velmora {

namespace {

int share(int listWidth, int parts) {
    return static_cast<int>(std::nearbyint(static_cast<double>(listWidth) / parts));
}

const char* pick(bool isChinese, const char* chinese, const char* english) {
    return isChinese ? chinese : english;
}

} // namespace

std::vector<ColumnSpec> columnsFor(ListLayout layout, int listWidth, bool isChinese) {
    // Each title's width is the list's share plus its own offset.
    struct Column {
        const char* chinese;
        const char* english;
        int offset;
    };
    struct Layout {
        int shares;
        std::vector<Column> columns;
    };
    static const Layout contacts{
        3, {{"姓名", "Name", -300}, {"邮件地址", "Mail", 380}, {"创建者", "Creator", -500}}};
    static const Layout events{
        3,
        {{"主题", "Subject", -300}, {"创建时间", "Create time", 380}, {"创建者", "Creator", -500}}};
    static const Layout appointmentGroups{
        2, {{"创建者", "Creator", -550}, {"组名", "GroupName", 100}}};
    static const Layout groups{2, {{"创建者", "Creator", -400}, {"组名", "GroupName", 400}}};
    const Layout& chosen = layout == ListLayout::contacts            ? contacts
                           : layout == ListLayout::events            ? events
                           : layout == ListLayout::appointmentGroups ? appointmentGroups
                                                                     : groups;
    const int w = share(listWidth, chosen.shares);
    std::vector<ColumnSpec> columns{{"", 350, headerIcon}};
    for (const Column& column : chosen.columns)
        columns.push_back({pick(isChinese, column.chinese, column.english), w + column.offset, 0});
    return columns;
}

void applyListLayout(controls::ListView& list, ListLayout layout, bool isChinese) {
    const auto columns = columnsFor(layout, list.Width(), isChinese);
    list.ColumnHeaders().Clear();
    for (const ColumnSpec& column : columns)
        list.ColumnHeaders().Add(column.title, column.width, column.icon);
    list.setView(controls::lvwReport);
    list.setLabelEdit(controls::lvwManual);
}

void applyListLayout(controls::ListView& list, ListLayout layout, const DialogContext& state) {
    applyListLayout(list, layout, state.isChinese);
}

} // namespace velmora
