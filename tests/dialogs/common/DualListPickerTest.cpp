// Dual list picker: the row refusal rules, generated keys and the collision after a removal,
// copying, the four move buttons and their conditions, sorting by column and Escape.
#include "dialogs/common/DualListPicker.h"
#include "dialogs/common/ListPair.h"
#include "dialogs/common/RowIcons.h"
#include "platform/controls/CaptionedControls.h"
#include "platform/controls/KeyCodes.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

using namespace velmora;
using controls::ListView;

namespace {

const std::string marker(generatedKeyMarker);

std::vector<std::string> keys(const ListView& list) {
    std::vector<std::string> out;
    for (const auto* row : list.ListItems().rows())
        out.push_back(row->Key());
    return out;
}

std::vector<std::string> names(const ListView& list) {
    std::vector<std::string> out;
    for (const auto* row : list.ListItems().rows())
        out.push_back(row->SubItems(1));
    return out;
}

} // namespace

TEST(AddListRow, RefusesBlankRowsRepeatedTextsAndRepeatedKeys) {
    ListView list("ListViewLeft");
    EXPECT_FALSE(AddListRow(list, contactIcon, "-1", "  ", "", "alice"));
    EXPECT_FALSE(AddListRow(list, contactIcon, "E1", "", "   ", "alice"));
    EXPECT_EQ(0, list.ListItems().Count());

    // Generated-key rows are compared by their texts, ignoring case and surrounding blanks.
    EXPECT_TRUE(AddListRow(list, contactIcon, "-1", "  Bob ", "Bob@X.org", " alice "));
    EXPECT_FALSE(AddListRow(list, contactIcon, "-1", "bob", "  bob@x.ORG ", "carol"));
    EXPECT_TRUE(AddListRow(list, contactIcon, "-1", "bob", "other@x.org", "carol"));
    // Letters beyond ASCII fold too; accents are kept apart.
    EXPECT_TRUE(AddListRow(list, contactIcon, "-1", "ZOË", "ZOË@X.ORG", "alice"));
    EXPECT_FALSE(AddListRow(list, contactIcon, "-1", " zoë", "zoë@x.org ", "alice"));
    EXPECT_TRUE(AddListRow(list, contactIcon, "-1", "zoe", "zoë@x.org", "alice"));

    // Rows with real keys are never compared by texts, but a key is listed once.
    EXPECT_TRUE(AddListRow(list, contactIcon, "E1", "Bob", "bob@x.org", "alice"));
    EXPECT_TRUE(AddListRow(list, noRowIcon, "E2", "Bob", "bob@x.org", "alice"));
    EXPECT_FALSE(AddListRow(list, contactIcon, "E1", "Someone", "else@x.org", "dave"));
    EXPECT_EQ((std::vector<std::string>{marker + "1", marker + "2", marker + "3", marker + "4",
                                        "E1", "E2"}),
              keys(list));

    const auto& first = list.ListItems().Item(1);
    EXPECT_EQ("", first.Text());
    EXPECT_EQ("Bob", first.SubItems(1));
    EXPECT_EQ("Bob@X.org", first.SubItems(2));
    EXPECT_EQ("alice", first.SubItems(3));
    EXPECT_EQ(contactIcon, first.SmallIcon());
    EXPECT_EQ(0, list.ListItems().Item("E2").SmallIcon()) << "icon -1 leaves the icon unset";
    EXPECT_EQ("Bob", list.ListItems().Item("E1").SubItems(1)) << "the refused row changed nothing";
}

TEST(GenerateRowKey, CountsGeneratedRowsAndNeverReusesAHeldKey) {
    EXPECT_EQ(marker + "1", GenerateRowKey(nullptr));
    EXPECT_TRUE(IsGeneratedRowKey("-1"));
    EXPECT_TRUE(IsGeneratedRowKey(marker + "12"));
    EXPECT_TRUE(IsGeneratedRowKey("x" + marker));
    EXPECT_FALSE(IsGeneratedRowKey(std::string(18, '9') + "1"));
    EXPECT_FALSE(IsGeneratedRowKey("00000000A1B2"));
    EXPECT_FALSE(IsGeneratedRowKey(""));

    ListView list("ListViewRight");
    AddListRow(list, contactIcon, "E1", "Real", "real@x", "alice");
    for (const char* name : {"A", "B", "C"})
        AddListRow(list, contactIcon, "-1", name, std::string(name) + "@x", "alice");
    EXPECT_EQ(marker + "4", GenerateRowKey(&list));

    // After removing the first generated row, counting gives 3, which row C still holds.
    RemoveListRowAt(list, 2);
    EXPECT_EQ(marker + "4", GenerateRowKey(&list));
    EXPECT_TRUE(AddListRow(list, contactIcon, "-1", "D", "d@x", "alice"));
    // After removing the last one, its number is free again and is taken.
    RemoveListRowAt(list, list.ListItems().Item(marker + "4").Index());
    EXPECT_TRUE(AddListRow(list, contactIcon, "-1", "E", "e@x", "alice"));

    const auto held = keys(list);
    EXPECT_EQ((std::vector<std::string>{"E1", marker + "2", marker + "3", marker + "4"}), held);
    EXPECT_EQ((std::vector<std::string>{"Real", "B", "C", "E"}), names(list));
}

TEST(CopyAndRemove, CopiesOnceKeepsTheSourceAndIgnoresIndexesPastTheEnd) {
    ListView left("ListViewLeftPlus");
    ListView right("ListViewRightPlus");
    AddListRow(left, noRowIcon, "A1", "Meeting", "2024-03-05 10:00", "alice");
    AddListRow(left, noRowIcon, "-1", "Lunch", "2024-03-06 12:00", "bob");

    EXPECT_TRUE(CopyListRow(left, right, eventIcon, 2));
    EXPECT_FALSE(CopyListRow(left, right, eventIcon, 2));
    EXPECT_EQ(1, right.ListItems().Count());
    EXPECT_EQ(2, left.ListItems().Count());
    const auto& copy = right.ListItems().Item(1);
    EXPECT_EQ(left.ListItems().Item(2).Key(), copy.Key());
    EXPECT_EQ(eventIcon, copy.SmallIcon());
    EXPECT_EQ("bob", copy.SubItems(3));
    EXPECT_THROW(CopyListRow(left, right, eventIcon, 3), controls::ControlError);

    RemoveListRowAt(right, 2);
    EXPECT_EQ(1, right.ListItems().Count());
    RemoveListRowAt(right, 1);
    EXPECT_EQ(0, right.ListItems().Count());
}

TEST(MoveButtons, FollowTheirConditions) {
    ListView left("ListViewLeft");
    ListView right("ListViewRight");
    AddListRow(left, noRowIcon, "C1", "Ann", "ann@x", "alice");
    AddListRow(left, noRowIcon, "C2", "Ben", "ben@x", "alice");

    MoveResult r = copySelectedRow(left, right, contactIcon);
    EXPECT_FALSE(r.ran) << "no current row";
    left.setSelectedItem(&left.ListItems().Item(2));
    r = copySelectedRow(left, right, contactIcon);
    EXPECT_TRUE(r.ran && r.changed);
    r = copySelectedRow(left, right, contactIcon);
    EXPECT_TRUE(r.ran && !r.changed) << "the same row twice leaves one copy";

    // With equal counts nothing is copied, even a selected row the right list lacks.
    AddListRow(right, contactIcon, "C9", "Zed", "zed@x", "alice");
    left.setSelectedItem(&left.ListItems().Item(1));
    r = copySelectedRow(left, right, contactIcon);
    EXPECT_TRUE(r.ran && !r.changed);
    EXPECT_FALSE(copyAllRows(left, right, contactIcon).ran) << "copy all is refused";
    EXPECT_EQ((std::vector<std::string>{"C2", "C9"}), keys(right));

    RemoveListRowAt(right, 2);
    r = copyAllRows(left, right, contactIcon);
    EXPECT_TRUE(r.changed);
    EXPECT_EQ((std::vector<std::string>{"C2", "C1"}), keys(right));

    EXPECT_FALSE(removeSelectedRow(right).ran);
    right.setSelectedItem(&right.ListItems().Item("C2"));
    r = removeSelectedRow(right);
    EXPECT_TRUE(r.ran && r.changed);
    EXPECT_EQ((std::vector<std::string>{"C1"}), keys(right));
    EXPECT_TRUE(removeAllRows(right).changed);
    EXPECT_FALSE(removeAllRows(right).ran);
    EXPECT_FALSE(copyAllRows(right, left, contactIcon).ran);
}

TEST(ShareRows, RefuseSameTextsOrSameKeyAndCopyTwoTexts) {
    ListView left("ListViewLeft");
    ListView right("ListViewRight");
    EXPECT_TRUE(AddShareListRow(left, groupIcon, "G1", " alice ", "Sales"));
    EXPECT_FALSE(AddShareListRow(left, groupIcon, "G2", "ALICE", "sales  "));
    EXPECT_TRUE(AddShareListRow(right, groupIcon, "G7", "Ölçü", "ÇAĞ"));
    EXPECT_FALSE(AddShareListRow(right, groupIcon, "G8", "ÖLÇÜ", "çağ"));
    right.ListItems().Clear();
    EXPECT_FALSE(AddShareListRow(left, groupIcon, "G1", "bob", "Support"));
    EXPECT_TRUE(AddShareListRow(left, groupIcon, "-1", "bob", "Support"));
    EXPECT_EQ((std::vector<std::string>{"G1", marker + "1"}), keys(left));
    EXPECT_EQ("alice", left.ListItems().Item(1).SubItems(1));
    EXPECT_EQ(2, left.ListItems().Item(1).subItemCount());

    left.setSelectedItem(&left.ListItems().Item(1));
    ListPair groups(left, right, groupIcon, CopyShareListRow);
    EXPECT_TRUE(groups.press(1).changed);
    EXPECT_TRUE(groups.press(2).changed) << "G1 is refused, the generated row is copied";
    EXPECT_EQ(keys(left), keys(right));
    EXPECT_FALSE(groups.press(2).ran) << "equal counts refuse copy all";
    EXPECT_THROW(groups.press(5), controls::ControlError);
}

TEST(SortListByColumn, FirstClickAscendsThenEveryClickTurnsTheOrder) {
    ListView list("ListViewLeft");
    list.ColumnHeaders().Add("", 350, headerIcon);
    list.ColumnHeaders().Add("Name", 1000);
    list.ColumnHeaders().Add("Mail", 1000);
    AddListRow(list, contactIcon, "K1", "bob", "b@x", "");
    AddListRow(list, contactIcon, "K2", "Carl", "a@x", "");
    AddListRow(list, contactIcon, "K3", "alice", "c@x", "");

    controls::CommandButton b1("cmdMoveFields1"), b2("cmdMoveFields2"), b3("cmdMoveFields3"),
        b4("cmdMoveFields4");
    ListView right("ListViewRight");
    ListPair pair(list, right, contactIcon);
    std::vector<int> moved;
    pair.wire(b1, b2, b3, b4, [&](int button, MoveResult) { moved.push_back(button); });

    list.clickColumn(2);
    EXPECT_EQ((std::vector<std::string>{"alice", "bob", "Carl"}), names(list));
    EXPECT_EQ(1, list.SortKey());
    list.clickColumn(2);
    EXPECT_EQ((std::vector<std::string>{"Carl", "bob", "alice"}), names(list));
    list.clickColumn(3);
    EXPECT_EQ(controls::lvwAscending, list.SortOrder());
    EXPECT_EQ((std::vector<std::string>{"Carl", "bob", "alice"}), names(list)) << "by mail";
    list.clickColumn(1);
    EXPECT_EQ(controls::lvwDescending, list.SortOrder());

    b2.click();
    right.ColumnHeaders().Add("", 350);
    right.clickColumn(1);
    b3.click();
    b4.click();
    EXPECT_EQ((std::vector<int>{2, 3, 4}), moved);
    EXPECT_TRUE(right.Sorted());
}

TEST(CloseOnEscape, EscapeOnAnyControlClosesTheForm) {
    controls::Form form("ShareTaskGroup");
    auto& list = form.add<ListView>("ListViewLeft");
    auto& ok = form.add<controls::CommandButton>("OK");
    int unloads = 0;
    auto closing = form.Unload.subscribe([&](int&) { ++unloads; });
    auto escape = closeOnEscapeFromAnyControl(form);

    form.Show();
    form.pressKey(list, controls::vbKeyReturn);
    form.pressKey(ok, controls::vbKeyDelete);
    EXPECT_TRUE(form.Loaded());
    form.pressKey(list, controls::vbKeyEscape);
    EXPECT_FALSE(form.Loaded());
    for (controls::Control* control :
         {static_cast<controls::Control*>(&ok), static_cast<controls::Control*>(&form)}) {
        form.Show();
        form.pressKey(*control, controls::vbKeyEscape);
        EXPECT_FALSE(form.Loaded());
    }
    EXPECT_EQ(3, unloads);
    CloseOnEscape(controls::vbKeyEscape, form); // closing a closed form is harmless
    EXPECT_EQ(3, unloads);
}
