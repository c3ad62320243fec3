// The recording message box, the fake window system's hooks, and the entries a top-level window
// keeps in the window folder.
#include "platform/windows/MessageBox.h"
#include "platform/windows/TopLevelWindow.h"
#include "platform/windows/WindowSystem.h"
#include "support/TestSession.h"

#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <unistd.h>

namespace velmora::windows {
namespace {

TEST(RecordingMessageBox, RecordsAndAnswersFromTheQueueThenByButtons) {
    RecordingMessageBox box;
    EXPECT_EQ(box.lastText(), "");
    box.answers = {vbNo};
    EXPECT_EQ(box.show("Delete?", "VelmoraOutlook", vbYesNo | vbQuestion), vbNo);
    EXPECT_EQ(box.show("Really?", "VelmoraOutlook", vbYesNo | vbQuestion), vbYes);
    EXPECT_EQ(box.show("Please select a item.", "VelmoraOutlook", vbInformation), vbOK);
    ASSERT_EQ(box.shown.size(), 3u);
    EXPECT_EQ(box.shown[0].style, vbYesNo | vbQuestion);
    EXPECT_EQ(box.lastText(), "Please select a item.");
    box.answers = {vbYes};
    box.clear();
    EXPECT_TRUE(box.shown.empty());
    EXPECT_TRUE(box.answers.empty());
}

TEST(FakeWindowSystem, StartingCanOpenAWindowOrFail) {
    FakeWindowSystem windows;
    windows.onStart = [&](const std::string&, const std::vector<std::string>& args) {
        if (args.empty()) windows.openWindows.insert("Synchronize Outlook - Velmora");
    };
    windows.failing = {"/missing/Tidewell"};
    EXPECT_THROW(windows.StartProcess("/missing/Tidewell", {}), std::runtime_error);
    EXPECT_TRUE(windows.started.empty());
    windows.StartProcess("/install/Tidewell", {"about"});
    EXPECT_FALSE(windows.FindWindow("Synchronize Outlook - Velmora"));
    windows.StartProcess("/install/Tidewell", {});
    EXPECT_TRUE(windows.FindWindow("Synchronize Outlook - Velmora"));
    ASSERT_EQ(windows.started.size(), 2u);
    EXPECT_EQ(windows.started[0].second, std::vector<std::string>{"about"});
}

std::string entryText(const std::filesystem::path& entry) {
    std::ifstream in(entry, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(TopLevelWindow, AnnouncesItsTitleWhileItLives) {
    testing::TempDir temp;
    const auto dir = temp.path() / "windows";
    const std::string caption = "Velmora－Outlook信息同步";
    {
        TopLevelWindow first("one", WindowDirectory(dir));
        TopLevelWindow second("two", WindowDirectory(dir));
        // Two windows of one process do not share an entry; both are named by the pid.
        EXPECT_NE(first.entry(), second.entry());
        EXPECT_EQ(first.entry().filename().string(), std::to_string(::getpid()));
        const std::string one = entryText(first.entry());
        ASSERT_NE(one.find('\n'), std::string::npos);
        EXPECT_EQ(one.substr(one.find('\n') + 1), "one");
        EXPECT_NE(one.substr(0, one.find('\n')), "0");
        second.setTitle(caption);
        EXPECT_EQ(second.title(), caption);
        const std::string two = entryText(second.entry());
        EXPECT_EQ(two.substr(two.find('\n') + 1), caption);
    }
    EXPECT_TRUE(std::filesystem::is_empty(dir));
    // A folder that is a plain file cannot hold windows.
    std::ofstream(temp.path() / "plain") << "x";
    EXPECT_THROW(TopLevelWindow("x", WindowDirectory(temp.path() / "plain")), std::runtime_error);
}

} // namespace
} // namespace velmora::windows
