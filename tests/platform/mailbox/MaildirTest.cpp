// The Maildir++ tree: folder names both ways, writes that never show half a file, and messages
// that keep their unique name while other programs rename them for their flags.
#include "platform/mailbox/Maildir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace velmora::mailbox {
namespace {

namespace fs = std::filesystem;

std::string contentOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class MaildirTest : public ::testing::Test {
  protected:
    void SetUp() override {
        root_ = fs::temp_directory_path() /
                ("velmora-maildir-" + std::to_string(::getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root_);
    }
    void TearDown() override { fs::remove_all(root_); }
    fs::path root_;
};

TEST_F(MaildirTest, FolderNamesRoundTripThroughTheirDirectories) {
    EXPECT_EQ(Maildir::directoryName("Sent"), ".Sent");
    EXPECT_EQ(Maildir::directoryName("Deleted Items"), ".Deleted Items");
    EXPECT_EQ(Maildir::directoryName("Projects/2026"), ".Projects.2026");
    EXPECT_EQ(Maildir::directoryName("v1.2 100%"), ".v1%2E2 100%25");
    for (const std::string name : {"Sent", "Projects/2026", "v1.2 100%", "项目/客户.A"})
        EXPECT_EQ(Maildir::folderName(Maildir::directoryName(name)), name) << name;
    // Names no folder of ours could have: not read as folders.
    for (const std::string dir : {"cur", ".", "..", ".a..b", ".bad%zz", ".trailing."})
        EXPECT_FALSE(Maildir::folderName(dir)) << dir;

    Maildir box(root_ / "Mail");
    box.createFolder("Projects/2026");
    box.createFolder("Sent");
    fs::create_directories(root_ / "Mail" / ".NotAMaildir"); // no cur/: not listed
    EXPECT_EQ(box.folders(), (std::vector<std::string>{"Projects/2026", "Sent"}));
    EXPECT_THROW(box.folderPath("Missing"), MailboxError);
}

TEST_F(MaildirTest, MessagesKeepTheirNameThroughFlagChangesAndMovesGetANewOne) {
    Maildir box(root_ / "Mail");
    box.createFolder("Sent");
    const MaildirMessage arrived = box.add("", "Subject: new\r\n\r\nhello", "", true);
    const MaildirMessage read = box.add("Inbox", "Subject: old\r\n\r\nseen", "SR");
    EXPECT_TRUE(arrived.isNew);
    EXPECT_EQ(arrived.file.parent_path().filename(), "new");
    EXPECT_EQ(read.file.filename().string(), read.unique + ":2,RS") << "flags sorted";
    EXPECT_NE(arrived.unique, read.unique);
    EXPECT_TRUE(fs::is_empty(root_ / "Mail" / "tmp")) << "nothing is left staged";

    // Another client marks the new mail seen: the file moves to cur/, the name stays.
    fs::rename(arrived.file, root_ / "Mail" / "cur" / (arrived.unique + ":2,S"));
    const auto found = box.find("", arrived.unique);
    ASSERT_TRUE(found);
    EXPECT_EQ(found->flags, "S");
    EXPECT_EQ(contentOf(found->file), "Subject: new\r\n\r\nhello");
    // Our stale copy of the listing still finds it to flag it.
    const MaildirMessage flagged = box.setFlags("", arrived, "FS");
    EXPECT_EQ(flagged.unique, arrived.unique);
    EXPECT_EQ(box.messages("").size(), 2u);

    const MaildirMessage replaced = box.replace("", flagged, "Subject: new\r\n\r\nedited");
    EXPECT_EQ(contentOf(box.find("", flagged.unique)->file), "Subject: new\r\n\r\nedited");
    EXPECT_EQ(replaced.unique, flagged.unique);

    const MaildirMessage sent = box.move("", flagged, "Sent");
    EXPECT_NE(sent.unique, flagged.unique) << "a delivered copy is a new message";
    EXPECT_EQ(sent.flags, "FS");
    EXPECT_FALSE(box.find("", flagged.unique));
    EXPECT_EQ(box.messages("Sent").size(), 1u);

    box.remove("Sent", sent);
    box.remove("Sent", sent); // already gone: no error
    EXPECT_TRUE(box.messages("Sent").empty());
    EXPECT_THROW(box.setFlags("Sent", sent, "S"), MailboxError);
}

} // namespace
} // namespace velmora::mailbox
