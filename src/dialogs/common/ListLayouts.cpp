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
    std::vector<ColumnSpec> columns{{"", 350, headerIcon}};
    switch (layout) {
    case ListLayout::contacts: {
        const int w = share(listWidth, 3);
        columns.push_back({pick(isChinese, "姓名", "Name"), w - 300, 0});
        columns.push_back({pick(isChinese, "邮件地址", "Mail"), w + 380, 0});
        columns.push_back({pick(isChinese, "创建者", "Creator"), w - 500, 0});
        break;
    }
    case ListLayout::events: {
        const int w = share(listWidth, 3);
        columns.push_back({pick(isChinese, "主题", "Subject"), w - 300, 0});
        columns.push_back({pick(isChinese, "创建时间", "Create time"), w + 380, 0});
        columns.push_back({pick(isChinese, "创建者", "Creator"), w - 500, 0});
        break;
    }
    case ListLayout::appointmentGroups: {
        const int w = share(listWidth, 2);
        columns.push_back({pick(isChinese, "创建者", "Creator"), w - 550, 0});
        columns.push_back({pick(isChinese, "组名", "GroupName"), w + 100, 0});
        break;
    }
    case ListLayout::groups: {
        const int w = share(listWidth, 2);
        columns.push_back({pick(isChinese, "创建者", "Creator"), w - 400, 0});
        columns.push_back({pick(isChinese, "组名", "GroupName"), w + 400, 0});
        break;
    }
    }
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
