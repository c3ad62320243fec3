// The desktop window system: titles announced by other processes, stale entries, and starting
// programs detached with a synchronous refusal.
#include "platform/windows/DesktopWindowSystem.h"
#include "platform/windows/TopLevelWindow.h"
#include "support/TestSession.h"

#include <chrono>
#include <fstream>
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace velmora::windows {
namespace {

const std::string caption = "Velmora－Outlook信息同步";

std::size_t entryCount(const std::filesystem::path& dir) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& e : std::filesystem::directory_iterator(dir))
        ++n;
    return n;
}

TEST(DesktopWindowSystem, FindsWindowsOfOtherProcessesWhileTheyLive) {
    testing::TempDir temp;
    const auto dir = temp.path() / "windows";
    DesktopWindowSystem desktop{WindowDirectory(dir)};
    EXPECT_FALSE(desktop.FindWindow(caption));

    int ready[2], quit[2];
    ASSERT_EQ(::pipe(ready), 0);
    ASSERT_EQ(::pipe(quit), 0);
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        char c = 0;
        {
            TopLevelWindow window(caption, WindowDirectory(dir));
            (void)!::write(ready[1], "r", 1);
            (void)!::read(quit[0], &c, 1);
        }
        (void)!::write(ready[1], "w", 1);
        (void)!::read(quit[0], &c, 1);
        ::_exit(0);
    }
    char c = 0;
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    EXPECT_TRUE(desktop.FindWindow(caption));
    EXPECT_FALSE(desktop.FindWindow("Synchronize Outlook - Velmora"));
    EXPECT_FALSE(desktop.FindWindow("Velmora－Outlook"));
    const auto listed = WindowDirectory(dir).windows();
    ASSERT_EQ(listed.size(), 1u);
    EXPECT_EQ(listed[0].pid, child);

    // The window closes while its process still runs.
    ASSERT_EQ(::write(quit[1], "q", 1), 1);
    ASSERT_EQ(::read(ready[0], &c, 1), 1);
    EXPECT_FALSE(desktop.FindWindow(caption));
    ASSERT_EQ(::write(quit[1], "q", 1), 1);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    for (int fd : {ready[0], ready[1], quit[0], quit[1]})
        ::close(fd);

    // Two windows of one process do not share an entry; a new title replaces the old one.
    {
        TopLevelWindow first("one", WindowDirectory(dir));
        TopLevelWindow second("two", WindowDirectory(dir));
        EXPECT_NE(first.entry(), second.entry());
        second.setTitle(caption);
        EXPECT_TRUE(desktop.FindWindow("one"));
        EXPECT_TRUE(desktop.FindWindow(caption));
        EXPECT_FALSE(desktop.FindWindow("two"));
    }
    EXPECT_EQ(entryCount(dir), 0u);
}

TEST(DesktopWindowSystem, EntriesOfEndedProcessesAreIgnoredAndRemoved) {
    testing::TempDir temp;
    const auto dir = temp.path() / "windows";
    std::filesystem::create_directory(dir);
    const pid_t gone = ::fork();
    ASSERT_GE(gone, 0);
    if (gone == 0) ::_exit(0);
    ASSERT_EQ(::waitpid(gone, nullptr, 0), gone);
    std::ofstream(dir / std::to_string(gone)) << "0\n" << caption;
    // Our own pid with another start time: the entry a previous holder of the pid left.
    std::ofstream(dir / (std::to_string(::getpid()) + ".7")) << "1\n" << caption;
    std::ofstream(dir / "notes.txt") << "0\n" << caption;

    DesktopWindowSystem desktop{WindowDirectory(dir)};
    EXPECT_FALSE(desktop.FindWindow(caption));
    EXPECT_FALSE(std::filesystem::exists(dir / std::to_string(gone)));
    EXPECT_FALSE(std::filesystem::exists(dir / (std::to_string(::getpid()) + ".7")));
    EXPECT_TRUE(std::filesystem::exists(dir / "notes.txt"));
}

TEST(DesktopWindowSystem, StartsProgramsDetachedAndRefusesMissingOnes) {
    testing::TempDir temp;
    DesktopWindowSystem desktop{WindowDirectory(temp.path() / "windows")};
    const auto missing = (temp.path() / "install" / "Tidewell").string();
    try {
        desktop.StartProcess(missing, {"about"});
        ADD_FAILURE() << "a missing program started";
    } catch (const std::runtime_error& e) {
        EXPECT_EQ(std::string(e.what()), "Cannot start " + missing + ": No such file or directory");
    }
    const auto plain = temp.path() / "plain";
    std::ofstream(plain) << "#!/bin/sh\n";
    EXPECT_THROW(desktop.StartProcess(plain.string(), {}), std::runtime_error);
    EXPECT_THROW(desktop.StartProcess(temp.path().string(), {}), std::runtime_error);
    EXPECT_THROW(desktop.StartProcess("velmora-no-such-program-on-path", {}), std::runtime_error);

    // The program gets its arguments and an empty standard input.
    const auto out = temp.path() / "out";
    desktop.StartProcess(
        "sh", {"-c", "cat > \"$0.tmp\"; echo \"$1 $2\" >> \"$0.tmp\"; mv \"$0.tmp\" \"$0\"",
               out.string(), "about", "两"});
    for (int i = 0; i < 200 && !std::filesystem::exists(out); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::ifstream in(out);
    std::string line;
    ASSERT_TRUE(std::getline(in, line));
    EXPECT_EQ(line, "about 两");

    desktop.SetWaitCursor(true);
    EXPECT_TRUE(desktop.waitCursor());
}

} // namespace
} // namespace velmora::windows
