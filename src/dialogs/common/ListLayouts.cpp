// The column layouts of the picker lists in both languages.
// The first column shows only the row icon and carries the header icon.
#include "dialogs/common/ListLayouts.h"

#include "dialogs/common/RowIcons.h"
#include "platform/text/Bilingual.h"

#include <cmath>

namespace velmora {

namespace {

int share(int listWidth, int parts) {
    return static_cast<int>(std::nearbyint(static_cast<double>(listWidth) / parts));
}

} // namespace

std::vector<ColumnSpec> columnsFor(ListLayout layout, int listWidth, bool isChinese) {
    // Each title's width is the list's share plus its own offset.
    struct Column {
        text::Bilingual title;
        int offset;
    };
    struct Layout {
        int shares;
        std::vector<Column> columns;
    };
    static const Layout contacts{3,
                                 {{{.english = "Name", .chinese = "姓名"}, -300},
                                  {{.english = "Mail", .chinese = "邮件地址"}, 380},
                                  {{.english = "Creator", .chinese = "创建者"}, -500}}};
    static const Layout events{3,
                               {{{.english = "Subject", .chinese = "主题"}, -300},
                                {{.english = "Create time", .chinese = "创建时间"}, 380},
                                {{.english = "Creator", .chinese = "创建者"}, -500}}};
    static const Layout appointmentGroups{2,
                                          {{{.english = "Creator", .chinese = "创建者"}, -550},
                                           {{.english = "GroupName", .chinese = "组名"}, 100}}};
    static const Layout groups{2,
                               {{{.english = "Creator", .chinese = "创建者"}, -400},
                                {{.english = "GroupName", .chinese = "组名"}, 400}}};
    const Layout& chosen = layout == ListLayout::contacts            ? contacts
                           : layout == ListLayout::events            ? events
                           : layout == ListLayout::appointmentGroups ? appointmentGroups
                                                                     : groups;
    const int w = share(listWidth, chosen.shares);
    std::vector<ColumnSpec> columns{{"", 350, headerIcon}};
    for (const Column& column : chosen.columns)
        columns.push_back({column.title.in(isChinese), w + column.offset, 0});
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
