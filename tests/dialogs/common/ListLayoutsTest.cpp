// Picker column layouts: titles in both languages, widths from the list's width, and the
// list left in report view with manual label editing and no stale columns.
#include "dialogs/common/ListLayouts.h"
#include "dialogs/common/RowIcons.h"
#include "platform/controls/ControlError.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace velmora;

namespace {

std::vector<std::string> titles(const controls::ListView& list) {
    std::vector<std::string> out;
    for (int i = 1; i <= list.ColumnHeaders().Count(); ++i)
        out.push_back(list.ColumnHeaders().Item(i).text);
    return out;
}

std::vector<int> widths(const controls::ListView& list) {
    std::vector<int> out;
    for (int i = 1; i <= list.ColumnHeaders().Count(); ++i)
        out.push_back(list.ColumnHeaders().Item(i).width);
    return out;
}

} // namespace

TEST(ListLayouts, TitlesFollowTheLanguage) {
    controls::ListView list("ListViewLeft");
    applyListLayout(list, ListLayout::contacts, false);
    EXPECT_EQ((std::vector<std::string>{"", "Name", "Mail", "Creator"}), titles(list));
    applyListLayout(list, ListLayout::contacts, true);
    EXPECT_EQ((std::vector<std::string>{"", "姓名", "邮件地址", "创建者"}), titles(list));
    applyListLayout(list, ListLayout::events, false);
    EXPECT_EQ((std::vector<std::string>{"", "Subject", "Create time", "Creator"}), titles(list));

    DialogContext state;
    state.isChinese = true;
    applyListLayout(list, ListLayout::events, state);
    EXPECT_EQ((std::vector<std::string>{"", "主题", "创建时间", "创建者"}), titles(list));
    applyListLayout(list, ListLayout::groups, state);
    EXPECT_EQ((std::vector<std::string>{"", "创建者", "组名"}), titles(list));
    EXPECT_EQ((std::vector<std::string>{"", "Creator", "GroupName"}),
              titles((applyListLayout(list, ListLayout::appointmentGroups, false), list)));
}

TEST(ListLayouts, WidthsComeFromTheListWidth) {
    controls::ListView list("ListViewRight");
    list.setWidth(6001); // a third is 2000.33
    applyListLayout(list, ListLayout::contacts, true);
    EXPECT_EQ((std::vector<int>{350, 1700, 2380, 1500}), widths(list));
    EXPECT_EQ(headerIcon, list.ColumnHeaders().Item(1).icon);
    EXPECT_EQ(controls::lvwReport, list.View());
    EXPECT_EQ(controls::lvwManual, list.LabelEdit());

    list.setWidth(6002); // 2000.67 rounds up
    applyListLayout(list, ListLayout::events, false);
    EXPECT_EQ((std::vector<int>{350, 1701, 2381, 1501}), widths(list));

    list.setWidth(5001); // half is 2500.5: ties go to the even neighbour
    applyListLayout(list, ListLayout::appointmentGroups, false);
    EXPECT_EQ((std::vector<int>{350, 1950, 2600}), widths(list));
    list.setWidth(5003);
    applyListLayout(list, ListLayout::groups, false);
    EXPECT_EQ((std::vector<int>{350, 2102, 2902}), widths(list));

    list.setWidth(600);
    EXPECT_THROW(applyListLayout(list, ListLayout::contacts, false), controls::ControlError);
}
