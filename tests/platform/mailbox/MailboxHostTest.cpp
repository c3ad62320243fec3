// The mailbox host: items and what no file holds survive a restart under the same entry IDs,
// other programs' changes reach the host, sending goes through the send command, and a file
// that cannot be read or written is named without losing anything else.
#include "platform/mailbox/MailboxHost.h"

#include "platform/host/InMemoryHost.h"
#include "platform/mailbox/Maildir.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace velmora::mailbox {
namespace {

namespace fs = std::filesystem;
using namespace velmora::host;

std::string contentOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

// One run of the host over the mailbox: a fresh in-memory host with the folder loaded.
struct HostRun {
    explicit HostRun(const fs::path& root, const std::string& send = "")
        : host(false, false), mailbox(host, root, send) {}
    ItemPtr byId(const std::string& id) {
        return host.application().GetNamespace("MAPI").GetItemFromID(id);
    }
    InMemoryHost host;
    MailboxHost mailbox;
};

class MailboxHostTest : public ::testing::Test {
  protected:
    const testing::TempDir temp_;
    const fs::path root_ = temp_.path() / "mailbox";
};

TEST_F(MailboxHostTest, ItemsAndTheirLinksSurviveARestartUnderTheirEntryIds) {
    std::string contactId, mailId, projectMailId, meetingId, noteId;
    RecurrencePattern weekly;
    {
        HostRun run(root_);
        auto& app = run.host.application();
        auto ann = app.CreateItem(olContactItem);
        ann->Set("FullName", "Ann Lee");
        ann->Set("Email1Address", "ann@example.com");
        ann->Set("FileAs", "Lee, Ann (work)");
        ann->Save();
        contactId = ann->EntryID();

        auto mail = run.host.receiveMail("季度报告 \"Q4\"", "Ann Lee", "ann@example.com");
        mail->Set("Body", "见附件");
        mail->Attachments().Add("报告.txt", "120, 140");
        mail->Links().Add(ann);
        mail->Set("Categories", "Red");
        mail->Save();
        mailId = mail->EntryID();

        auto projects = run.host.folder(olFolderInbox)->AddFolder("Projects", olMailItem);
        projectMailId =
            run.host.receiveMail("Kick-off", "Bob", "bob@example.com", projects)->EntryID();

        auto meeting = app.CreateItem(olAppointmentItem);
        meeting->Set("Subject", "Weekly review");
        meeting->Set("Location", "Room 4");
        meeting->Set("Start", Variant(std::string("2026-12-07 10:00:00")));
        weekly = meeting->GetRecurrencePattern();
        weekly.RecurrenceType = olRecursWeekly;
        weekly.DayOfWeekMask = 2;
        meeting->SetRecurrencePattern(weekly);
        meeting->Links().Add(ann);
        meeting->Save();
        meetingId = meeting->EntryID();
        weekly = meeting->GetRecurrencePattern();

        auto note = app.CreateItem(olNoteItem);
        note->Set("Body", "Call Ann\nabout the report");
        note->Save();
        noteId = note->EntryID();
    }
    {
        HostRun run(root_);
        EXPECT_EQ(run.mailbox.opening().listed, 5u);
        EXPECT_EQ(run.mailbox.opening().items, 0u) << "folders are read when first asked";
        auto mail = run.byId(mailId);
        EXPECT_EQ(run.mailbox.opening().items, 5u);
        EXPECT_EQ(run.mailbox.opening().parsed, 0u) << "a warm mailbox opens from its index";
        ASSERT_TRUE(mail);
        EXPECT_EQ(mail->Subject(), "季度报告 \"Q4\"");
        EXPECT_EQ(mail->Text("Categories"), "Red");
        ASSERT_EQ(mail->Links().Count(), 1);
        EXPECT_EQ(mail->Links().Item(1)->EntryID(), contactId);
        EXPECT_TRUE(mail->Flag("UnRead"));
        EXPECT_EQ(run.byId(contactId)->Text("FileAs"), "Lee, Ann (work)");
        auto meeting = run.byId(meetingId);
        ASSERT_TRUE(meeting);
        EXPECT_EQ(meeting->Text("Location"), "Room 4");
        EXPECT_EQ(meeting->GetRecurrencePattern().DayOfWeekMask, weekly.DayOfWeekMask);
        EXPECT_EQ(meeting->Links().Count(), 1);
        EXPECT_EQ(run.byId(noteId)->Subject(), "Call Ann");
        auto project = run.byId(projectMailId);
        ASSERT_TRUE(project);
        EXPECT_EQ(project->Parent()->Name(), "Projects");
        EXPECT_EQ(project->Parent()->Parent()->Name(), "Inbox");
    }
    // An index whose rows this host cannot read (another version, damage) is read past.
    {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open((root_ / ".velmora-host.db").c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, "UPDATE items SET state = x'09'", nullptr, nullptr, nullptr),
                  SQLITE_OK);
        sqlite3_close(db);
        HostRun run(root_);
        ASSERT_TRUE(run.byId(contactId));
        EXPECT_EQ(run.byId(contactId)->Text("FullName"), "Ann Lee");
        EXPECT_TRUE(run.byId(meetingId));
        EXPECT_TRUE(run.byId(mailId));
        EXPECT_TRUE(run.mailbox.takeProblems().empty());
    }
    // Without the index the files still name every item alike; only what no file holds is gone.
    fs::remove(root_ / ".velmora-host.db");
    HostRun run(root_);
    auto mail = run.byId(mailId);
    EXPECT_EQ(run.mailbox.opening().parsed, 5u);
    ASSERT_TRUE(mail);
    EXPECT_EQ(mail->Text("Body"), "见附件");
    ASSERT_EQ(mail->Attachments().Count(), 1);
    EXPECT_EQ(mail->Attachments().Item(1)->FileName(), "报告.txt");
    EXPECT_EQ(mail->Links().Count(), 0);
    EXPECT_EQ(run.byId(contactId)->Text("FullName"), "Ann Lee");
    EXPECT_TRUE(run.byId(meetingId)->Flag("IsRecurring"));
    EXPECT_TRUE(run.byId(projectMailId));
}

TEST_F(MailboxHostTest, OtherProgramsChangesReachTheHostAndKeepEntryIds) {
    HostRun run(root_);
    auto inbox = run.host.folder(olFolderInbox);
    auto mail = run.host.receiveMail("Hello", "Bob", "bob@example.com");
    const std::string id = mail->EntryID();
    int added = 0, changed = 0;
    auto onAdd = inbox->Items()->ItemAdd().subscribe([&](const ItemPtr&) { ++added; });
    auto onChange = inbox->Items()->ItemChange().subscribe([&](const ItemPtr&) { ++changed; });

    // A mail client marks the mail read: it renames the file, the entry ID stays.
    Maildir maildir(root_ / "Mail");
    const auto message = maildir.messages("").front();
    maildir.setFlags("", message, "S");
    EXPECT_EQ(run.mailbox.poll(), 1);
    EXPECT_FALSE(mail->Flag("UnRead"));
    EXPECT_EQ(mail->EntryID(), id);
    EXPECT_EQ(changed, 1);

    // A synchroniser delivers a mail.
    maildir.add("", "From: Carol <carol@example.com>\r\nSubject: New\r\n\r\nHi\r\n", "", true);
    EXPECT_EQ(run.mailbox.poll(), 1);
    EXPECT_EQ(added, 1);
    EXPECT_EQ(inbox->Items()->Count(), 2);
    EXPECT_EQ(run.host.application().GetNamespace("MAPI").GetItemFromID(id), mail);

    // The host's own writes are not news.
    mail->Set("Categories", "Blue");
    mail->Save();
    changed = 0;
    EXPECT_EQ(run.mailbox.poll(), 0);
    EXPECT_EQ(changed, 0);

    // A mail removed by another client leaves the folder.
    maildir.remove("", maildir.find("", message.unique).value());
    EXPECT_EQ(run.mailbox.poll(), 1);
    EXPECT_EQ(inbox->Items()->Count(), 1);
    EXPECT_FALSE(run.host.application().GetNamespace("MAPI").GetItemFromID(id));
}

TEST_F(MailboxHostTest, SendingGoesThroughTheSendCommandAndAFailureKeepsTheMailWaiting) {
    const fs::path sent = temp_.path() / "sent.eml";
    {
        HostRun run(root_, "cat > '" + sent.string() + "'");
        auto mail = run.host.application().CreateItem(olMailItem);
        mail->Set("Subject", "Offer");
        mail->Recipients().Add(Recipient{"Ann Lee", "ann@example.com", olTo});
        mail->Send();
        const std::string waiting = mail->EntryID();
        EXPECT_EQ(Maildir(root_ / "Mail").messages("Outbox").size(), 1u);
        run.host.deliverOutbox();
        EXPECT_NE(mail->EntryID(), waiting);
        EXPECT_EQ(mail->Parent()->Name(), "Sent Items");
        EXPECT_TRUE(Maildir(root_ / "Mail").messages("Outbox").empty());
        const auto delivered = Maildir(root_ / "Mail").messages("Sent");
        ASSERT_EQ(delivered.size(), 1u);
        const std::string text = contentOf(delivered.front().file);
        EXPECT_NE(text.find("Message-Id: <"), std::string::npos) << text;
        EXPECT_NE(contentOf(sent).find("Subject: Offer"), std::string::npos);
    }
    fs::remove(sent);
    HostRun run(root_, "exit 3");
    auto mail = run.host.application().CreateItem(olMailItem);
    mail->Set("Subject", "Second offer");
    mail->Recipients().Add(Recipient{"Ann Lee", "ann@example.com", olTo});
    mail->Send();
    try {
        run.host.deliverOutbox();
        ADD_FAILURE() << "a failing send command must be reported";
    } catch (const HostError& e) {
        EXPECT_NE(std::string(e.what()).find("status 3"), std::string::npos) << e.what();
    }
    EXPECT_EQ(mail->Parent()->Name(), "Outbox");
    EXPECT_FALSE(mail->Flag("Sent"));
    EXPECT_EQ(Maildir(root_ / "Mail").messages("Outbox").size(), 1u);
}

TEST_F(MailboxHostTest, FilesThatCannotBeReadOrWrittenAreNamedAndNothingElseIsLost) {
    fs::create_directories(root_ / "Contacts");
    writeFile(
        root_ / "Contacts" / "ann.vcf",
        "BEGIN:VCARD\r\nVERSION:4.0\r\nUID:ann\r\nFN:Ann Lee\r\nN:Lee;Ann;;;\r\nEND:VCARD\r\n");
    writeFile(root_ / "Contacts" / "broken.vcf", "this is not a card\r\n");
    Maildir maildir(root_ / "Mail");
    maildir.add("",
                "From: x@example.com\r\nSubject: Odd\r\nContent-Type: text/plain; "
                "charset=x-unknown\r\n\r\ncaf\xe9\r\n",
                "S");
    std::string contactId;
    {
        HostRun run(root_);
        run.mailbox.loadAll();
        EXPECT_EQ(run.mailbox.opening().items, 2u);
        EXPECT_EQ(run.mailbox.opening().skipped, 1u);
        const auto problems = run.mailbox.takeProblems();
        ASSERT_EQ(problems.size(), 1u);
        EXPECT_NE(problems.front().find("broken.vcf"), std::string::npos) << problems.front();
        auto odd = run.host.folder(olFolderInbox)->Items()->Item(1);
        EXPECT_EQ(odd->Subject(), "Odd");
        EXPECT_EQ(odd->Text("Body").substr(0, 3), "caf");
        const auto later = run.mailbox.takeProblems();
        ASSERT_EQ(later.size(), 1u) << "the unknown charset is named when the body is read";
        EXPECT_NE(later.front().find("x-unknown"), std::string::npos) << later.front();

        // A folder that cannot be written refuses the save whole.
        auto contact = run.host.folder(olFolderContacts)->Items()->Item(1);
        contactId = contact->EntryID();
        fs::rename(root_ / "Contacts", root_ / "Contacts.away");
        writeFile(root_ / "Contacts", "not a folder");
        auto fresh = run.host.application().CreateItem(olContactItem);
        fresh->Set("FullName", "Bob Wu");
        EXPECT_THROW(fresh->Save(), HostError);
        EXPECT_EQ(run.host.folder(olFolderContacts)->Items()->Count(), 1);
        contact->Set("FullName", "Ann Li");
        EXPECT_THROW(contact->Save(), HostError);
        fs::remove(root_ / "Contacts");
        fs::rename(root_ / "Contacts.away", root_ / "Contacts");
    }
    EXPECT_TRUE(fs::exists(root_ / "Contacts" / "broken.vcf")) << "a file it cannot read stays";
    {
        HostRun run(root_);
        EXPECT_EQ(run.byId(contactId)->Text("FullName"), "Ann Lee");
    }
    // A card spoilt between two runs keeps its item, as it was last read.
    writeFile(root_ / "Contacts" / "ann.vcf", "garbage\r\n");
    HostRun run(root_);
    auto ann = run.byId(contactId);
    ASSERT_TRUE(ann);
    EXPECT_EQ(ann->Text("FullName"), "Ann Lee");
    const auto problems = run.mailbox.takeProblems();
    EXPECT_TRUE(std::any_of(problems.begin(), problems.end(), [](const std::string& p) {
        return p.find("ann.vcf") != std::string::npos && p.find("as it was last read") != p.npos;
    }));
}

} // namespace
} // namespace velmora::mailbox
