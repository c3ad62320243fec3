// Tests of the list fillers on the in-memory host: key arrays, the half-hour time list in the
// system's time text, and the result lists of the searches.
#include "dialogs/common/ListFillers.h"
#include "platform/controls/ComboBox.h"
#include "platform/host/DateText.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <set>

namespace velmora {
namespace {

using testing::TestSession;

class Fillers : public ::testing::Test {
  protected:
    TestSession s;
};

TEST_F(Fillers, KeyArraysEndWithAnEmptyElement) {
    controls::ListView list("ListViewRightPlus");
    EXPECT_EQ(listKeyArray(list), std::vector<std::string>{""});
    list.ListItems().Add(0, "k1");
    list.ListItems().Add(0, "k2");
    EXPECT_EQ(listKeyArray(list), (std::vector<std::string>{"k1", "k2", ""}));
}

TEST_F(Fillers, TimeComboFollowsTheClocksTimeTextAndShowsTheNextHalfHour) {
    auto fill = [&](int hour, int minute, const std::string& format, bool chinese) {
        s.clock.set(host::makeDate(2026, 5, 20, hour, minute));
        s.clock.setTimeFormat(format);
        s.state.isChinese = chinese;
        controls::ComboBox combo("cboTime");
        fillTimeCombo(s.state, combo);
        EXPECT_EQ(combo.ListCount(), 48);
        EXPECT_GE(combo.ListIndex(), 0) << "the shown mark is one of the entries";
        return combo.List(0) + "|" + combo.List(47) + "|" + combo.Text();
    };
    EXPECT_EQ(fill(9, 10, "", true), "00:00|23:30|09:30") << "24-hour by default";
    EXPECT_EQ(fill(23, 40, "%H:%M:%S", false), "00:00|23:30|00:00");
    EXPECT_EQ(fill(12, 40, "%r", false), "01:00 am|12:30 pm|01:00 pm");
    EXPECT_EQ(fill(12, 40, "%p %I:%M:%S", false), "01:00 am|12:30 pm|01:00 pm");
    EXPECT_EQ(fill(0, 10, "%p %I:%M:%S", true), "上午 01:00|下午 12:30|上午 12:30");
    EXPECT_EQ(fill(15, 0, "%I:%M:%S %p", true), "上午 01:00|下午 12:30|下午 03:30");

    // Every entry of every form reads back as its own time of day.
    for (const auto& [format, chinese] :
         {std::pair{"%X", false}, std::pair{"%r", false}, std::pair{"%p %I:%M", true}}) {
        s.clock.setTimeFormat(format);
        s.state.isChinese = chinese;
        controls::ComboBox combo("cboTime");
        fillTimeCombo(s.state, combo);
        std::set<int> seen;
        for (int i = 0; i < combo.ListCount(); ++i) {
            const auto minutes = timeEntryMinutes(combo.List(i));
            ASSERT_TRUE(minutes) << combo.List(i);
            seen.insert(*minutes);
        }
        EXPECT_EQ(seen.size(), 48u);
        EXPECT_EQ(*seen.rbegin(), 23 * 60 + 30);
    }
    EXPECT_EQ(timeEntryMinutes("12:00 am"), 0);
    EXPECT_EQ(timeEntryMinutes("下午 12:30"), 12 * 60 + 30);
    for (std::string_view bad : {"", "9", "24:00", "13:00 pm", "9:5", "09:30 xm", "ab:cd"})
        EXPECT_FALSE(timeEntryMinutes(bad)) << bad;
}

TEST_F(Fillers, FoundListsSkipEntriesTheHostCannotHandOut) {
    const host::ItemPtr ann = s.addContact("Ann Lee", "ann@x.example");
    const host::ItemPtr meeting = s.addAppointment("Review", host::makeDate(2026, 5, 20, 9, 0));
    controls::ListView contacts("ListViewResult"), events("ListViewResult");
    fillFoundContacts(s.state, contacts, {ann->EntryID(), "missing", meeting->EntryID()},
                      {"bob", "x", "y"});
    fillFoundAppointments(s.state, events, {meeting->EntryID()}, {"carol"});
    ASSERT_EQ(contacts.ListItems().Count() + events.ListItems().Count(), 2);
    const controls::ListItem& c = contacts.ListItems().Item(1);
    const controls::ListItem& e = events.ListItems().Item(1);
    EXPECT_EQ(c.Key() + "|" + c.SubItems(1) + "|" + c.SubItems(2) + "|" + c.SubItems(3),
              ann->EntryID() + "|Ann Lee|ann@x.example|bob");
    EXPECT_EQ(e.SubItems(1) + "|" + e.SubItems(2), "Review|" + meeting->Text("CreationTime"));
    EXPECT_EQ(c.SmallIcon(), 2);
    EXPECT_EQ(e.SmallIcon(), 3);
}

} // namespace
} // namespace velmora
