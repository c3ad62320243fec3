// Form stand-in: the control registry, loading and unloading, modal showing with a script,
// key routing from any control through key preview, and the whole-form text dump.
#include "platform/controls/Form.h"
#include "platform/controls/CaptionedControls.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/ControlError.h"
#include "platform/controls/EntryControls.h"
#include "platform/controls/KeyCodes.h"
#include "platform/controls/ListView.h"
#include "platform/controls/TabControl.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace velmora::controls;

TEST(Form, RegistryFindsControlsByNameAndIndex) {
    Form form("AttachSentMailToContact");
    auto& close = form.add<CommandButton>("cmdClose");
    auto& frame0 = form.add<Label>("atFrame", 0);
    form.add<Label>("atFrame", 1);
    EXPECT_EQ(&close, form.find("cmdClose"));
    EXPECT_EQ(&frame0, form.find("atFrame", 0));
    EXPECT_EQ(nullptr, form.find("atFrame"));
    EXPECT_EQ(2, form.get<Label>("atFrame", 1).TabIndex());
    EXPECT_THROW(form.get<ListView>("cmdClose"), ControlError);
    EXPECT_THROW(form.add<Label>("cmdClose"), ControlError);

    {
        TextBox borrowed("regarding");
        form.attach(borrowed);
        EXPECT_EQ(&borrowed, form.find("regarding"));
        Form other("other");
        EXPECT_THROW(other.attach(borrowed), ControlError);
    }
    EXPECT_EQ(nullptr, form.find("regarding")) << "a destroyed control must leave the registry";
    EXPECT_EQ(3u, form.controls().size());
    close.setCaption("Close");
    // A caption table that names a list instead of a button fails loudly.
    EXPECT_THROW(form.add<ListView>("ListViewLeft").setCaption("Name"), ControlError);
}

TEST(Form, LoadUnloadAndModalShow) {
    Form form("DialogSearch");
    Form owner("ShareAppGroup");
    std::vector<std::string> seen;
    int cancelNext = 0;
    auto load = form.Load.subscribe([&] { seen.push_back("load"); });
    auto unload = form.Unload.subscribe([&](int& cancel) {
        seen.push_back("unload");
        cancel = std::exchange(cancelNext, 0);
        form.unload(); // a close requested while closing is ignored
    });

    form.setModalScript([&](Form& shown) {
        seen.push_back(shown.modal() && shown.owner() == &owner && shown.Visible() ? "modal"
                                                                                   : "not modal");
        EXPECT_THROW(shown.Show(true), ControlError);
        cancelNext = 1;
        EXPECT_FALSE(shown.unload());
        EXPECT_TRUE(shown.unload());
    });
    EXPECT_FALSE(form.Visible());
    form.Show(true, &owner);
    EXPECT_FALSE(form.Loaded());
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ(nullptr, form.owner());

    form.Show();
    form.load();
    form.Hide();
    EXPECT_TRUE(form.Loaded());
    EXPECT_FALSE(form.Visible());
    EXPECT_EQ((std::vector<std::string>{"load", "modal", "unload", "unload", "load"}), seen);
    EXPECT_THROW(form.Show(false, &form), ControlError);
}

TEST(Form, ChildModalScriptPlaysNestedDialogsThatHaveNoScriptOfTheirOwn) {
    Form top("top"), child("child"), grandchild("grandchild"), scripted("scripted");
    std::vector<std::string> played;
    top.setChildModalScript([&](Form& shown) {
        played.push_back(shown.Name());
        if (&shown == &child) grandchild.Show(true, &child);
        shown.unload();
    });
    scripted.setModalScript([&](Form& shown) { played.push_back("own " + shown.Name()); });
    top.Show();
    child.Show(true, &top);
    scripted.Show(true, &top);
    Form stranger("stranger");
    stranger.Show(true); // no owner, no script: shown and left to its caller
    EXPECT_EQ((std::vector<std::string>{"child", "grandchild", "own scripted"}), played);
    EXPECT_FALSE(child.Loaded());
    EXPECT_TRUE(stranger.Visible());
}

TEST(Form, KeysFromAnyControlReachTheFormWithKeyPreview) {
    Form form("ShareTaskGroup");
    auto& list = form.add<ListView>("ListViewLeft");
    auto& ok = form.add<CommandButton>("OK");
    std::vector<std::string> seen;
    auto formKeys = form.KeyDown.subscribe([&](int& key, int shift) {
        seen.push_back("form " + std::to_string(key) + "/" + std::to_string(shift));
        if (key == vbKeyDelete) key = 0;
    });
    auto listKeys = list.KeyDown.subscribe(
        [&](int& key, int) { seen.push_back("list " + std::to_string(key)); });

    EXPECT_THROW(form.pressKey(list, vbKeyEscape), ControlError) << "the form is not shown";
    form.Show();
    form.pressKey(list, vbKeyReturn);
    form.setKeyPreview(true);
    form.pressKey(list, vbKeyReturn, vbShiftMask);
    form.pressKey(list, vbKeyDelete);
    form.pressKey(ok, vbKeyEscape);
    form.pressKey(form, vbKeyEscape);
    EXPECT_EQ((std::vector<std::string>{"list 13", "form 13/1", "list 13", "form 46/0", "form 27/0",
                                        "form 27/0"}),
              seen);

    // A form closed by the preview does not pass the key on.
    auto closer = form.KeyDown.subscribe([&](int& key, int) {
        if (key == vbKeyEscape) form.unload();
    });
    seen.clear();
    form.pressKey(list, vbKeyEscape);
    EXPECT_FALSE(form.Loaded());
    EXPECT_EQ((std::vector<std::string>{"form 27/0"}), seen);

    form.Show();
    ok.setEnabled(false);
    EXPECT_THROW(form.pressKey(ok, vbKeyEscape), ControlError);
    EXPECT_THROW(ok.click(), ControlError);
    CommandButton stray("stray");
    EXPECT_THROW(form.pressKey(stray, vbKeyEscape), ControlError);
}

TEST(Form, DescribeDumpsTheFormThenEveryControl) {
    Form form("ShareContactGroup");
    form.setCaption("Share \"x\"");
    auto& ok = form.add<CommandButton>("OK");
    ok.setCaption("OK");
    ok.setDefault(true);
    auto& label = form.add<Label>("Label2", 0);
    label.setCaption("Available Groups:");
    label.setVisible(false);
    form.Show();
    EXPECT_EQ("Form ShareContactGroup enabled=1 visible=1 tabIndex=0 caption=\"Share \\\"x\\\"\""
              " loaded=1 modal=0 owner=\"\" keyPreview=0 controls=2\n"
              "CommandButton OK enabled=1 visible=1 tabIndex=0 caption=\"OK\" default=1 cancel=0\n"
              "Label Label2(0) enabled=1 visible=0 tabIndex=1 caption=\"Available Groups:\"",
              form.describe());
}

TEST(Form, EveryLoadAfterAnUnloadStartsFromTheDesign) {
    Form form("AttachSentMailToContact");
    form.setCaption("绑定邮件");
    auto& tick = form.add<CheckBox>("deleteMailForContact");
    auto& count = form.add<TextBox>("inTime");
    auto& units = form.add<ComboBox>("inDays");
    auto& inDays = form.add<OptionButton>("OptionIn");
    auto& onDay = form.add<OptionButton>("OptionOn");
    auto& day = form.add<DatePicker>("onTime");
    auto& tabs = form.add<TabControl>("SSTab1", -1, 3);
    auto& list = form.add<ListView>("ListViewRight");
    auto& attach = form.add<CommandButton>("cmdMailtoContact");
    count.setText("0");
    inDays.setValue(true);
    list.ColumnHeaders().Add("Name", 1200);
    attach.setEnabled(false);
    form.keepAsDesigned();
    form.Show();
    const std::string designed = form.describe();

    // Whatever one opening leaves behind, in every kind of control...
    form.setCaption("Quarterly report");
    tick.setValue(vbChecked);
    count.setText("7");
    units.AddItem("day");
    units.setListIndex(0);
    onDay.setValue(true);
    day.setValue(std::chrono::sys_days{std::chrono::year{2026} / 12 / 24});
    tabs.setTab(2);
    tabs.setTabEnabled(0, false);
    list.ListItems().Add(0, "k1", "Ann");
    list.setSelectedItem(&list.ListItems().Item(1));
    list.setSorted(true);
    list.ColumnHeaders().Add("Mail", 1200);
    attach.setEnabled(true);
    attach.setVisible(false);
    EXPECT_NE(form.describe(), designed);
    form.unload();

    // ...the next opening sees none of it.
    form.Show();
    EXPECT_EQ(form.describe(), designed);
    EXPECT_FALSE(tick.checked());
    EXPECT_TRUE(inDays.Value());
    EXPECT_EQ(list.ListItems().Count(), 0);
    EXPECT_EQ(list.SelectedItem(), nullptr);
}
