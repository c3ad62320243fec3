// List view stand-in: unique keys, 1-based row access, the stable collated sort,
// the current row and selections, the user events, and the text dump of columns and rows.
#include "platform/controls/ListView.h"
#include "platform/controls/ControlError.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace velmora::controls;

namespace {

std::vector<std::string> tags(const ListView& list) {
    std::vector<std::string> out;
    for (const ListItem* row : list.ListItems().rows())
        out.push_back(row->Tag());
    return out;
}

ListItem& addRow(ListView& list, const std::string& key, const std::string& sub1,
                 const std::string& tag) {
    ListItem& row = list.ListItems().Add(0, key, "t" + tag);
    row.setSubItems(1, sub1);
    row.setTag(tag);
    return row;
}

} // namespace

TEST(ListView, KeysAreUniqueAndRowsRenumber) {
    ListView list("ListViewLeft");
    auto& items = list.ListItems();
    items.Add(0, "A", "first");
    items.Add(0, "B", "second");
    try {
        items.Add(0, "A", "again");
        FAIL() << "a duplicate key was accepted";
    } catch (const DuplicateKeyError& e) {
        EXPECT_STREQ("Key is not unique in collection", e.what());
    }
    EXPECT_EQ(2, items.Count());
    EXPECT_THROW(items.Item("A").setKey("B"), DuplicateKeyError);
    EXPECT_EQ("first", items.Item("A").Text());
    EXPECT_EQ(nullptr, items.find("B2"));

    // Rows without a key may repeat; a key set later is checked and indexed.
    items.Add(0, "", "x");
    items.Add(0, "", "y");
    items.Item(4).setKey("D");
    EXPECT_EQ("y", items.Item("D").Text());

    // Inserting in front and removing renumber the rows and free the removed key.
    items.Add(1, "Z", "front");
    EXPECT_EQ(2, items.Item("A").Index());
    items.Remove("A");
    EXPECT_EQ(2, items.Item("B").Index());
    items.Add(0, "A", "back");
    EXPECT_EQ(5, items.Item("A").Index());

    EXPECT_THROW(items.Item(0), ControlError);
    EXPECT_THROW(items.Item(items.Count() + 1), ControlError);
    EXPECT_THROW(items.Item("missing"), ControlError);
    EXPECT_THROW(items.Add(items.Count() + 2), ControlError);
    EXPECT_THROW(items.Item(1).SubItems(0), ControlError);
    EXPECT_EQ("", items.Item(1).SubItems(7));
}

TEST(ListView, SortIsStableCaseInsensitiveAndOnlyWhenSorted) {
    ListView list("ListView");
    addRow(list, "k1", "bob", "1");
    addRow(list, "k2", "Alice", "2");
    addRow(list, "k3", "carl", "3");
    addRow(list, "k4", "alice", "4");
    addRow(list, "k5", "BOB", "5");

    list.setSortKey(1);
    EXPECT_EQ((std::vector<std::string>{"1", "2", "3", "4", "5"}), tags(list)) << "not sorted yet";
    list.setSorted(true);
    EXPECT_EQ((std::vector<std::string>{"2", "4", "1", "5", "3"}), tags(list));
    list.setSortOrder(lvwDescending);
    EXPECT_EQ((std::vector<std::string>{"3", "1", "5", "2", "4"}), tags(list));
    EXPECT_EQ(1, list.ListItems().Item("k3").Index());
    EXPECT_EQ("k1", list.ListItems().Item(2).Key());

    // A shorter text sorts before its extensions; rows added later stay where they were put.
    addRow(list, "k6", "", "6");
    EXPECT_EQ("6", list.ListItems().Item(6).Tag());
    list.setSortOrder(lvwAscending);
    EXPECT_EQ("6", list.ListItems().Item(1).Tag());

    list.setSortKey(0);
    EXPECT_EQ((std::vector<std::string>{"1", "2", "3", "4", "5", "6"}), tags(list));
    EXPECT_THROW(list.setSortOrder(2), ControlError);
    EXPECT_THROW(list.setSortKey(-1), ControlError);
}

TEST(ListView, SortCollatesAccentsAndChineseAndKeepsLaterRowsInOrder) {
    ListView list("ListViewLeft");
    const char* names[] = {"张伟", "Zoë",   "陈杰", "Eva",     "zack",
                           "李娜", "Émile", "安琪", "Ångström"};
    for (const char* name : names)
        addRow(list, std::string("k") + name, name, name);
    list.setSortKey(1);
    list.setSorted(true);
    EXPECT_EQ((std::vector<std::string>{"Ångström", "Émile", "Eva", "zack", "Zoë", "安琪", "陈杰",
                                        "李娜", "张伟"}),
              tags(list));

    // Rows added later, or whose sort text changes, go to their place.
    addRow(list, "k10", "王芳", "王芳");
    addRow(list, "k11", "Bea", "Bea");
    list.ListItems().Item("k李娜").setSubItems(1, "Adam");
    list.ListItems().Item("k张伟").setSubItems(2, "not the sort column");
    EXPECT_EQ((std::vector<std::string>{"李娜", "Ångström", "Bea", "Émile", "Eva", "zack", "Zoë",
                                        "安琪", "陈杰", "王芳", "张伟"}),
              tags(list));
    list.setSortOrder(lvwDescending);
    addRow(list, "k12", "ÉVA", "ÉVA");
    addRow(list, "k13", "Zoe", "Zoe");
    EXPECT_EQ(9, list.ListItems().Item("k12").Index()) << "ties with Eva, goes after it";
    EXPECT_EQ(6, list.ListItems().Item("k13").Index()) << "the diaeresis counts: after Zoë";
}

TEST(ListView, CurrentRowSelectionAndUserEvents) {
    ListView list("ListViewRight");
    ListItem& a = list.ListItems().Add(0, "a");
    ListItem& b = list.ListItems().Add(0, "b");
    ListItem& c = list.ListItems().Add(0, "c");
    EXPECT_EQ(nullptr, list.SelectedItem());

    std::vector<std::string> seen;
    auto s1 = list.ItemClick.subscribe([&](ListItem& row) { seen.push_back("item " + row.Key()); });
    auto s2 = list.DblClick.subscribe([&] { seen.push_back("double"); });
    auto s3 =
        list.ColumnClick.subscribe([&](int col) { seen.push_back("col " + std::to_string(col)); });
    auto s4 =
        list.ItemCheck.subscribe([&](ListItem& row) { seen.push_back("check " + row.Key()); });

    list.clickItem(a);
    list.doubleClickItem(b);
    EXPECT_EQ(&b, list.SelectedItem());
    EXPECT_FALSE(a.Selected());
    EXPECT_TRUE(b.Selected());

    list.setMultiSelect(true);
    c.setSelected(true);
    EXPECT_TRUE(b.Selected());
    EXPECT_EQ(&c, list.SelectedItem());
    list.setMultiSelect(false);
    EXPECT_FALSE(b.Selected());
    EXPECT_TRUE(c.Selected());

    // Removing the current row leaves none, so a "remove selected" cannot hit a stale row.
    list.ListItems().Remove(c.Index());
    EXPECT_EQ(nullptr, list.SelectedItem());

    list.ColumnHeaders().Add("", 350, 1);
    list.ColumnHeaders().Add("Name", 1000);
    list.clickColumn(2);
    EXPECT_THROW(list.clickColumn(3), ControlError);
    EXPECT_THROW(list.checkItem(a, true), ControlError);
    list.setCheckboxes(true);
    list.checkItem(a, true);
    EXPECT_TRUE(a.Checked());
    EXPECT_EQ((std::vector<std::string>{"item a", "item b", "double", "col 2", "check a"}), seen);

    list.setEnabled(false);
    EXPECT_THROW(list.clickItem(a), ControlError);
    ListView other("Other");
    ListItem& foreign = other.ListItems().Add(0, "f");
    list.setEnabled(true);
    EXPECT_THROW(list.clickItem(foreign), ControlError);
    EXPECT_THROW(list.ColumnHeaders().Add("Bad", -1), ControlError);
}

TEST(ListView, DescribeDumpsColumnsAndRows) {
    ListView list("ListViewLeft");
    list.ColumnHeaders().Add("", 350, 1);
    list.ColumnHeaders().Add("Name", 1700);
    ListItem& row = list.ListItems().Add(0, "E1");
    row.setSmallIcon(2);
    row.setSubItems(1, "Bob \"B\"");
    row.setSubItems(2, "bob@x");
    list.setSelectedItem(&row);
    EXPECT_EQ("ListView ListViewLeft enabled=1 visible=1 tabIndex=0 view=0 labelEdit=0 width=6000"
              " sorted=0 sortKey=0 sortOrder=0 multiSelect=0 checkboxes=0 columns=2 rows=1"
              " current=1\n"
              "  column 1 \"\" width=350 icon=1\n"
              "  column 2 \"Name\" width=1700 icon=0\n"
              "  row 1 key=\"E1\" smallIcon=2 selected=1 checked=0 text=\"\""
              " sub1=\"Bob \\\"B\\\"\" sub2=\"bob@x\"",
              list.describe());
}
