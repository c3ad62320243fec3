// Changes made by other programs, as the host will see them: a mail renamed in from tmp/, a
// calendar file rewritten in place, a file removed; a file still open for writing is not seen.
#include "platform/mailbox/FolderWatch.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

namespace velmora::mailbox {
namespace {

namespace fs = std::filesystem;

std::string kinds(const std::vector<FolderChange>& changes) {
    std::string text;
    for (const FolderChange& c : changes)
        text += std::string(c.kind == FolderChange::Kind::Added     ? "+"
                            : c.kind == FolderChange::Kind::Changed ? "~"
                                                                    : "-") +
                c.file.filename().string() + " ";
    return text;
}

TEST(FolderWatch, ReportsWhatWasRenamedInRewrittenOrRemovedOnceItIsComplete) {
    const fs::path root =
        fs::temp_directory_path() / ("velmora-watch-" + std::to_string(::getpid()));
    fs::remove_all(root);
    fs::create_directories(root / "tmp");
    fs::create_directories(root / "new");
    FolderWatch watch;
    watch.watch(root / "new");
    watch.watch(root);
    EXPECT_TRUE(watch.changes().empty());

    { std::ofstream(root / "tmp" / "m1") << "Subject: a\r\n\r\nbody"; }
    fs::rename(root / "tmp" / "m1", root / "new" / "m1");
    std::ofstream open(root / "event.ics");
    open << "BEGIN:VCALENDAR";
    open.flush();
    EXPECT_EQ(kinds(watch.changes()), "+m1 ") << "the .ics is still being written";
    open.close();
    EXPECT_EQ(kinds(watch.changes()), "+event.ics ");

    { std::ofstream(root / "event.ics") << "BEGIN:VCALENDAR\r\nEND:VCALENDAR"; }
    fs::remove(root / "new" / "m1");
    EXPECT_EQ(kinds(watch.changes()), "~event.ics -m1 ");
    fs::remove_all(root);
}

} // namespace
} // namespace velmora::mailbox
