// A form's handler table and design: each row reaches its own control's event with the index of
// a control array or the clicked column, a row naming what the form lacks is refused, the
// captions follow the language and a caption in one language only is refused; a twin is made and
// wired with its control and keeps the English caption.
#include "dialogs/common/HandlerTable.h"
#include "dialogs/common/FormDesign.h"
#include "platform/controls/CaptionedControls.h"
#include "platform/controls/ControlError.h"
#include "platform/controls/ListView.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace velmora;

namespace {

struct Recorder {
    std::vector<std::string> calls;
    void cmdGo_Click() { calls.push_back("go"); }
    void cmdPick_Click(int index) { calls.push_back("pick " + std::to_string(index)); }
    void ListView_ColumnClick(int column) { calls.push_back("column " + std::to_string(column)); }
    void Form_Load() { calls.push_back("load"); }
    void cmdOk_Click() { calls.push_back("ok"); }
};

using enum ControlKind;

constexpr ControlDesign design[] = {
    {Button, "cmdGo", -1, {.english = "Go", .chinese = "走"}},
    {Button, "cmdPick", 0, sameInBoth("选")},
    {Button, "cmdPick", 1, sameInBoth("Pick")},
    {List, "ListView"},
    {Label, "Label1", -1, {.english = "Label", .chinese = "标签"}},
    twinned(Button, "cmdOk", {.english = "OK", .chinese = "确定"}),
};

TEST(HandlerTable, RowsReachTheirControlsWithIndexOrColumn) {
    controls::Form form("Test");
    addControls(form, design);
    Recorder recorder;
    using enum FormEvent;
    const auto subscriptions =
        wireHandlers(form,
                     {{"Form", Load, {recorder, &Recorder::Form_Load}},
                      {"cmdGo", Click, {recorder, &Recorder::cmdGo_Click}},
                      {"cmdPick", Click, {recorder, &Recorder::cmdPick_Click}, 1},
                      {"ListView", ColumnClick, {recorder, &Recorder::ListView_ColumnClick}},
                      {"cmdOk", Click, {recorder, &Recorder::cmdOk_Click}}},
                     design);
    auto& list = form.get<controls::ListView>("ListView");
    list.ColumnHeaders().Add("A", 100);
    list.ColumnHeaders().Add("B", 100);
    form.Show();
    form.get<controls::CommandButton>("cmdGo").click();
    form.get<controls::CommandButton>("cmdPick", 0).click(); // not wired
    form.get<controls::CommandButton>("cmdPick", 1).click();
    list.clickColumn(2);
    form.get<controls::CommandButton>("cmdOk").click();
    form.get<controls::CommandButton>("cmdOk1").click();
    EXPECT_EQ(recorder.calls,
              (std::vector<std::string>{"load", "go", "pick 1", "column 2", "ok", "ok"}));

    EXPECT_THROW(wireHandlers(form, {{"cmdGone", Click, {recorder, &Recorder::cmdGo_Click}}}),
                 controls::ControlError);
    EXPECT_THROW(wireHandlers(form, {{"Label1", Click, {recorder, &Recorder::cmdGo_Click}}}),
                 controls::ControlError)
        << "a label raises no Click";
}

TEST(FormDesign, CaptionsFollowTheLanguageWhereBothAreGiven) {
    controls::Form form("Test");
    addControls(form, design);
    ASSERT_EQ(form.controls().size(), 7u);
    EXPECT_EQ(form.controls()[2]->displayName(), "cmdPick(1)");
    EXPECT_EQ(form.controls()[6]->displayName(), "cmdOk1") << "a twin follows its control";
    setCaptions(form, design, false);
    EXPECT_EQ(form.get<controls::CommandButton>("cmdGo").Caption(), "Go");
    EXPECT_EQ(form.get<controls::Label>("Label1").Caption(), "Label");
    EXPECT_EQ(form.get<controls::CommandButton>("cmdPick", 0).Caption(), "选");
    EXPECT_EQ(form.get<controls::CommandButton>("cmdOk").Caption(), "确定");
    EXPECT_EQ(form.get<controls::CommandButton>("cmdOk1").Caption(), "OK");
    setCaptions(form, design, true);
    EXPECT_EQ(form.get<controls::CommandButton>("cmdGo").Caption(), "走");
}

// A row that gives a caption in one language only would leave its control blank in the other.
TEST(FormDesign, ACaptionInOneLanguageOnlyIsRefused) {
    constexpr ControlDesign noChinese[] = {{Button, "cmdGo", -1, {.english = "Go", .chinese = ""}}};
    constexpr ControlDesign noEnglish[] = {
        {Label, "Label1", -1, {.english = "", .chinese = "标签"}}};
    controls::Form form("Test");
    EXPECT_THROW(addControls(form, noChinese), controls::ControlError);
    EXPECT_THROW(addControls(form, noEnglish), controls::ControlError);
    EXPECT_TRUE(form.controls().empty()) << "nothing of a refused row is added";
}

} // namespace
