// Tab control, option buttons, combo box, check box, text box and date picker stand-ins:
// refusals of bad values and disabled tabs, group clearing, and when each event is raised.
#include "platform/controls/CaptionedControls.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/ControlError.h"
#include "platform/controls/EntryControls.h"
#include "platform/controls/Form.h"
#include "platform/controls/TabControl.h"

#include <gtest/gtest.h>

#include <chrono>
#include <vector>

using namespace velmora::controls;

TEST(TabControl, DisabledTabsAreRefusedAndChangesRaiseClick) {
    TabControl tabs("SSTab1", -1, 3);
    std::vector<int> previous;
    auto s = tabs.Click.subscribe([&](int before) { previous.push_back(before); });
    tabs.setTabCaption(0, "Share Appointment");
    tabs.setTabEnabled(0, false);
    tabs.setTab(1);
    tabs.setTab(1);
    EXPECT_THROW(tabs.setTab(0), ControlError);
    tabs.clickTab(0); // a disabled header does not react
    tabs.clickTab(2);
    EXPECT_EQ(2, tabs.Tab());
    EXPECT_EQ((std::vector<int>{0, 1}), previous);
    EXPECT_THROW(tabs.setTab(3), ControlError);
    EXPECT_THROW(tabs.TabEnabled(-1), ControlError);
    EXPECT_EQ("Share Appointment", tabs.TabCaption(0));
    tabs.setTabs(2);
    EXPECT_EQ(0, tabs.Tab()) << "the lost current tab falls back to the first";
}

TEST(OptionButton, ChoosingOneClearsOnlyItsGroup) {
    Form form("AttachSentMailToContact");
    auto& in = form.add<OptionButton>("OptionIn");
    auto& on = form.add<OptionButton>("OptionOn");
    auto& other = form.add<OptionButton>("OptionOther");
    other.setGroup("units");
    int clicks = 0;
    auto s = on.Click.subscribe([&] { ++clicks; });

    in.setValue(true);
    other.setValue(true);
    on.setValue(true);
    EXPECT_FALSE(in.Value());
    EXPECT_TRUE(on.Value());
    EXPECT_TRUE(other.Value());
    in.setValue(true);
    EXPECT_FALSE(on.Value());
    on.click();
    on.click();
    EXPECT_EQ(3, clicks) << "choosing by code once, then two user clicks";
    EXPECT_FALSE(in.Value());

    // Moving a chosen button into a group clears that group's choice.
    in.setValue(true);
    in.setGroup("units");
    EXPECT_FALSE(other.Value());
}

TEST(ComboBox, IndexAndTextStayConsistent) {
    ComboBox combo("inDays");
    combo.AddItem("day");
    combo.AddItem("Month");
    combo.AddItem("week", 1);
    int clicks = 0;
    int changes = 0;
    auto c1 = combo.Click.subscribe([&] { ++clicks; });
    auto c2 = combo.Change.subscribe([&] { ++changes; });

    combo.setListIndex(1);
    combo.setListIndex(1);
    EXPECT_EQ("week", combo.Text());
    combo.setText("Month");
    EXPECT_EQ(2, combo.ListIndex());
    combo.setText("fortnight");
    EXPECT_EQ(-1, combo.ListIndex());
    EXPECT_EQ(1, clicks);
    EXPECT_EQ(2, changes);
    EXPECT_THROW(combo.setListIndex(3), ControlError);
    EXPECT_THROW(combo.List(-1), ControlError);
    combo.setListIndex(0);
    combo.RemoveItem(0);
    EXPECT_EQ(-1, combo.ListIndex());
    combo.Clear();
    EXPECT_EQ(0, combo.ListCount());
    EXPECT_EQ("", combo.Text());
}

TEST(ValueControls, ChangesRaiseTheirEventsAndBadValuesAreRefused) {
    CheckBox share("shareEmail");
    int clicks = 0;
    auto s1 = share.Click.subscribe([&] { ++clicks; });
    share.setValue(vbChecked);
    share.setValue(vbChecked);
    share.click();
    EXPECT_EQ(vbUnchecked, share.Value());
    EXPECT_EQ(2, clicks);
    EXPECT_THROW(share.setValue(2), ControlError);
    share.setEnabled(false);
    EXPECT_THROW(share.click(), ControlError);

    // A handler that puts the last accepted text back, as the count box does past five characters.
    TextBox count("inTime");
    std::string accepted;
    auto s2 = count.Change.subscribe([&] {
        if (count.Text().size() > 5)
            count.setText(accepted);
        else
            accepted = count.Text();
    });
    count.type("12");
    count.type("123456");
    EXPECT_EQ("12", count.Text());

    using namespace std::chrono;
    DatePicker picker("onTime");
    int changes = 0;
    auto s3 = picker.Change.subscribe([&] { ++changes; });
    const sys_days day = 2024y / March / 5;
    picker.setValue(day + 14h + 30min);
    picker.setValue(day + 14h + 30min);
    EXPECT_EQ(day, picker.day());
    EXPECT_EQ(1, changes);
    EXPECT_NE(std::string::npos, picker.describe().find("value=\"2024-03-05 14:30:00\""));
}
