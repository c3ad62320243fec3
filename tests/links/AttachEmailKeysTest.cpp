// Tests of the mail keys and texts the mail links are built from, of the keys two mails composed
// in one second get, and of the safe file names that keep attachment copies in their folder.
#include "links/AttachEmail.h"
#include "links/MailKeys.h"
#include "links/SafeFileName.h"
#include "platform/controls/ListView.h"
#include "platform/host/DateText.h"
#include "support/TestSession.h"

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

TEST(MailKeys, OnlyTheSuffixesOfAPlainKeyAreItsOwn) {
    const std::string plain = "OutlookID200375943";
    EXPECT_EQ(suffixedMailID(plain, 1), plain);
    EXPECT_EQ(suffixedMailID(plain, 2), plain + "-2");
    EXPECT_EQ(suffixNumber(plain, plain), 1);
    EXPECT_EQ(suffixNumber(plain + "-12", plain), 12);
    EXPECT_TRUE(isSubstituteKey(plain + "-2"));
    EXPECT_EQ(mailFolderName(plain + "-2"), plain + "-2");
    // 9:43:0 of the same day makes a longer plain key, not a suffix of this one.
    EXPECT_EQ(suffixNumber(newMailID(host::makeDate(2003, 7, 5, 9, 43, 0)), plain), std::nullopt);
    for (const char* tail : {"-", "-1", "-02", "-2x", "2", "--2"})
        EXPECT_EQ(suffixNumber(plain + tail, plain), std::nullopt) << tail;
}

// Two mails composed in one second, each linked to its own contact while on its way out.
class SameSecondMails : public ::testing::Test {
  protected:
    testing::TestSession s;
    AttachEmail engine{s.state};
    host::ItemPtr ann = s.addContact("Ann Lee", "ann@example.com");
    host::ItemPtr bob = s.addContact("Bob Hill", "bob@example.com");

    void SetUp() override { s.clock.set(host::makeDate(2003, 7, 5, 9, 4, 3)); }

    host::ItemPtr compose(const std::string& subject, const host::ItemPtr& contact) {
        host::ItemPtr m = s.host.application().CreateItem(host::olMailItem);
        m->Set("Subject", subject);
        m->Recipients().Add({contact->Text("FullName"), contact->Text("Email1Address")});
        m->Save();
        m->Links().Add(contact);
        return m;
    }
    void linkWhileOutgoing(AttachEmail& links, host::Item& mail, const host::ItemPtr& contact) {
        controls::ListView chosen("ListViewRight");
        chosen.ListItems().Add(0, contact->EntryID(), contact->Text("FullName"));
        links.emailToContact(mail, &chosen, true, true, false, false);
    }
    // Sends the mail alone and lets it arrive in Sent Items, as the hub hands it over.
    void deliver(AttachEmail& links, const host::ItemPtr& mail) {
        mail->Send();
        s.host.deliverOutbox();
        if (links.isNewMail(*mail)) links.replaceNewMailID(*mail);
    }
    // How many contact links the mail has, and to which contact.
    std::string contactOf(const host::ItemPtr& mail) {
        return s.scalar("select count(*) || ':' || coalesce(min(OutlookContactID), '') from "
                        "noteTb where OutlookAttachID='" +
                        mail->EntryID() + "'");
    }
    long historyRows(const host::ItemPtr& mail) {
        return s.count("select * from EMailHistory where entryid='" + mail->EntryID() + "'");
    }
    long substituteRows() {
        return s.count("select OutlookAttachID from noteTb where OutlookAttachID like "
                       "'OutlookID%' union all select entryid from EMailHistory where entryid "
                       "like 'OutlookID%'");
    }

    struct Mails {
        host::ItemPtr first;
        host::ItemPtr second;
    };
    Mails linkBoth() {
        Mails mails{compose("First", ann), compose("Second", bob)};
        linkWhileOutgoing(engine, *mails.first, ann);
        linkWhileOutgoing(engine, *mails.second, bob);
        EXPECT_EQ(s.count("select * from noteTb"), 2) << "the second mail replaced the first's";
        return mails;
    }
    // A mail of the same second sent without Attach takes nothing; then the second mail arrives
    // before the first, and each takes its own rows only.
    void expectEachTakesItsOwnRows(AttachEmail& links, const Mails& mails) {
        const host::ItemPtr plain = compose("Plain", ann);
        deliver(links, plain);
        EXPECT_EQ(historyRows(plain), 0) << "a mail of the same second took another's rows";
        deliver(links, mails.second);
        EXPECT_EQ(contactOf(mails.second), "1:" + bob->EntryID());
        deliver(links, mails.first);
        EXPECT_EQ(contactOf(mails.first), "1:" + ann->EntryID());
        EXPECT_EQ(historyRows(mails.first) + historyRows(mails.second), 2);
        EXPECT_EQ(substituteRows(), 0);
    }
};

TEST_F(SameSecondMails, EachMailTakesOnlyItsOwnRowsWhicheverArrivesFirst) {
    expectEachTakesItsOwnRows(engine, linkBoth());
}

TEST_F(SameSecondMails, AfterARestartTheArrivingMailIsKnownByItsHistory) {
    const Mails mails = linkBoth();
    // The add-in starts again while both mails wait in the Outbox.
    AttachEmail restarted{s.state};
    expectEachTakesItsOwnRows(restarted, mails);
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
