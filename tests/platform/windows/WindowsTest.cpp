// The recording and console message boxes, and the fake window system's hooks.
#include "platform/windows/ConsoleMessageBox.h"
#include "platform/windows/FakeWindowSystem.h"
#include "platform/windows/RecordingMessageBox.h"

#include <gtest/gtest.h>
#include <sstream>

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

TEST(ConsoleMessageBox, PrintsTheBoxAndReadsAnswersUntilOneFits) {
    std::ostringstream out;
    std::istringstream in("maybe\n  Y \nno\n");
    ConsoleMessageBox box(out, in);
    EXPECT_EQ(box.show("Please close window of synchronization.", "VelmoraOutlook", vbExclamation),
              vbOK);
    EXPECT_EQ(box.show("Share?", "VelmoraOutlook", vbYesNo), vbYes);
    EXPECT_EQ(box.show("Again?", "T", vbYesNo), vbNo);
    // Input has ended: the cautious answer.
    EXPECT_EQ(box.show("Last?", "T", vbYesNo), vbNo);
    EXPECT_EQ(out.str(), "[VelmoraOutlook] Please close window of synchronization.  [OK]\n"
                         "[VelmoraOutlook] Share?  [Yes/No]\n"
                         "Please answer Yes/No\n"
                         "[T] Again?  [Yes/No]\n"
                         "[T] Last?  [Yes/No]\n");
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

} // namespace
} // namespace velmora::windows
