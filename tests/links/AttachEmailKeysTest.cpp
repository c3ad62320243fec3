// Tests of the mail keys and texts the mail links are built from, and of the safe file names
// that keep attachment copies inside their mail's folder.
#include "links/MailKeys.h"
#include "links/SafeFileName.h"
#include "platform/host/DateText.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace velmora {
namespace {

TEST(MailKeys, SubstituteKeyAndDateTextDropLeadingZeros) {
    EXPECT_EQ(newMailID(host::makeDate(2003, 7, 5, 9, 4, 3)), "OutlookID200375943");
    EXPECT_EQ(newMailID(host::makeDate(2024, 12, 31, 23, 59, 58)), "OutlookID20241231235958");

    EXPECT_EQ(dateTimeText(host::makeDate(2003, 7, 5, 9, 4, 3)), "2003-7-5 9:4:3");
    EXPECT_EQ(dateTimeText(host::makeDate(2024, 12, 31, 23, 59, 58)), "2024-12-31 23:59:58");
    EXPECT_EQ(dateTimeText(host::makeDate(1999, 1, 1, 0, 0, 0)), "1999-1-1 0:0:0");

    EXPECT_TRUE(isSubstituteKey("OutlookID200375943"));
    EXPECT_TRUE(isSubstituteKey("outlookid1"));
    EXPECT_FALSE(isSubstituteKey("OutlookI"));
    EXPECT_FALSE(isSubstituteKey("0000OutlookID"));
}

TEST(MailKeys, MimeTypeTakesEverythingAfterTheFirstDot) {
    EXPECT_EQ(getMimeType("report.final.pdf"), "application/octet-stream");
    EXPECT_EQ(getMimeType("report.pdf"), "application/pdf");
    EXPECT_EQ(getMimeType("photo.JPG"), "image/jpeg");
    EXPECT_EQ(getMimeType("page. Html "), "text/html");
    EXPECT_EQ(getMimeType("archive.tar.gz"), "application/octet-stream");
    EXPECT_EQ(getMimeType(".profile"), "application/octet-stream");
    EXPECT_EQ(getMimeType("README"), "application/octet-stream");
    EXPECT_EQ(getMimeType("报告.gif"), "image/gif");
}

TEST(SafeFileName, HostileNamesStayOneElementInsideTheFolder) {
    EXPECT_EQ(attachmentFileName(1, "report.pdf"), "1_report.pdf");
    EXPECT_EQ(attachmentFileName(2, "季度报告.doc"), "2_季度报告.doc");
    EXPECT_EQ(attachmentFileName(1, "../../etc/passwd"), "1_.._.._etc_passwd");
    EXPECT_EQ(attachmentFileName(1, "C:\\Windows\\win.ini"), "1_C__Windows_win.ini");
    EXPECT_EQ(attachmentFileName(1, std::string("a\x01\nb\x7f", 5)), "1_a__b_");
    EXPECT_EQ(attachmentFileName(4, ".."), "4_..");

    EXPECT_EQ(mailFolderName("00000000A1B2C3"), "00000000A1B2C3");
    EXPECT_EQ(mailFolderName(".."), "_..");
    EXPECT_EQ(mailFolderName("a/b\\c"), "a_b_c");
    // Names that begin with "." are kept for pending folders, which no key can reach.
    EXPECT_EQ(mailFolderName(".pending-x"), "_.pending-x");
    EXPECT_TRUE(isPendingFolderName(pendingFolderName("x")));
    const std::string longest = mailFolderName(std::string(400, 'k'));
    EXPECT_LE(pendingFolderName(longest).size(), maxFileNameBytes);
    EXPECT_NE(pendingFolderName(longest), pendingFolderName(longest.substr(1)));
}

TEST(SafeFileName, LongNamesAreCutAtCharacterBoundariesKeepingTheExtension) {
    std::string chinese;
    for (int i = 0; i < 200; ++i)
        chinese += "报"; // three bytes each
    const std::string cut = attachmentFileName(12, chinese + ".pdf");
    EXPECT_LE(cut.size(), maxFileNameBytes);
    EXPECT_EQ(cut.substr(0, 3), "12_");
    EXPECT_EQ(cut.substr(cut.size() - 4), ".pdf");
    EXPECT_EQ((cut.size() - 3 - 4) % 3, 0u) << "a character was split";

    const std::string longKey(400, 'k');
    const std::string a = mailFolderName(longKey);
    const std::string b = mailFolderName(longKey + "x");
    EXPECT_LE(a.size(), maxFileNameBytes);
    EXPECT_NE(a, b);
}

} // namespace
} // namespace velmora
