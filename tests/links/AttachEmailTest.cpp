// Tests of the mail link engine on the real store, the in-memory host and real attachment files:
// contact and event links, the history row and its link count, copies, re-keying and failures.
#include "links/AttachEmail.h"
#include "links/AttachmentTidy.h"
#include "links/FileChangeJournal.h"
#include "links/MailKeys.h"
#include "links/SafeFileName.h"
#include "platform/ado/Recordset.h"
#include "platform/controls/ListView.h"
#include "platform/files/FileSystem.h"
#include "platform/host/DateText.h"
#include "store/StoreSession.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace velmora {
namespace {

namespace fs = std::filesystem;
using testing::TestSession;

std::string fileText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

class MailLinks : public ::testing::Test {
  protected:
    TestSession s;
    AttachEmail engine{s.state};

    void SetUp() override { s.clock.set(host::makeDate(2003, 7, 5, 9, 4, 3)); }

    host::ItemPtr contact(const std::string& name) {
        host::ItemPtr c = s.host.application().CreateItem(host::olContactItem);
        c->Set("FullName", name);
        c->Save();
        return c;
    }
    host::ItemPtr mail(const std::string& subject, const std::vector<host::ItemPtr>& contacts = {},
                       const std::vector<std::pair<std::string, std::string>>& files = {}) {
        host::ItemPtr m = s.host.application().CreateItem(host::olMailItem);
        m->Set("Subject", subject);
        for (const auto& [name, content] : files)
            m->Attachments().Add(name, content);
        m->Save();
        for (const auto& c : contacts)
            m->Links().Add(c);
        return m;
    }
    static std::unique_ptr<controls::ListView> list(const std::vector<host::ItemPtr>& contacts) {
        auto view = std::make_unique<controls::ListView>("ListViewRight");
        for (const auto& c : contacts)
            view->ListItems().Add(0, c->EntryID(), c->Text("FullName"));
        return view;
    }
    std::string link(const std::string& key, const host::ItemPtr& c, const std::string& column) {
        return s.scalar("select coalesce(cast(" + column + " as text), 'null') from noteTb where " +
                        "OutlookAttachID='" + ado::sqlText(key) + "' and OutlookContactID='" +
                        c->EntryID() + "'");
    }
    std::string history(const std::string& key, const std::string& column) {
        return s.scalar("select coalesce(cast(" + column +
                        " as text), 'null') from EMailHistory where " + "entryid='" +
                        ado::sqlText(key) + "'");
    }
    long rows(const std::string& table, const std::string& column, const std::string& key) {
        return s.count("select * from " + table + " where " + column + "='" + ado::sqlText(key) +
                       "'");
    }
    std::vector<std::string> messages() {
        std::vector<std::string> texts;
        for (const auto& m : s.messages.shown)
            texts.push_back(m.text);
        return texts;
    }
};

TEST_F(MailLinks, ContactLinksAndHistoryRowCarryTheMailIntact) {
    std::string subject = "O'Brien's \"offer\" 报价单 ";
    subject += std::string(5000, 'x');
    const host::ItemPtr ann = contact("Ann Lee");
    const host::ItemPtr bob = contact("Bob O'Neil");
    host::ItemPtr m = mail(subject, {ann, bob});
    m->Set("SenderName", "Zoë Sender");
    m->Set("SenderEmailAddress", "zoe@example.com");
    m->Set("Importance", static_cast<long>(host::olImportanceLow));
    m->Set("Body", "Hello 你好 it's me");
    m->Recipients().Add({"  Ann ", " smtp: ann@example.com ", host::olTo});
    m->Recipients().Add({"Bob", "bob@example.com", host::olTo});
    m->Recipients().Add({"Carl", "SMTP:carl@example.com", host::olBCC});
    m->Recipients().Add({"Origin", "origin@example.com", host::olOriginator});
    m->Save();
    s.mapContact(ann->EntryID(), "bob_17");
    const std::string key = m->EntryID();

    auto chosen = list({ann, bob});
    s.clock.set(host::makeDate(2011, 2, 3, 4, 5, 6));
    engine.emailToContact(*m, chosen.get(), false, true, false, false);

    EXPECT_EQ(link(key, ann, "type"), "2");
    EXPECT_EQ(link(key, ann, "Regarding"), subject);
    EXPECT_EQ(link(key, ann, "contactID"), "bob_17");
    EXPECT_EQ(link(key, bob, "contactID"), "-1");
    EXPECT_EQ(link(key, ann, "Creator"), "alice");
    EXPECT_EQ(link(key, ann, "PrivateAccess"), "0");
    EXPECT_EQ(link(key, ann, "bAttachment"), "0");
    EXPECT_EQ(link(key, ann, "Attached_ID"), "-1");
    EXPECT_EQ(link(key, ann, "MakeDelete"), "0");
    EXPECT_EQ(link(key, ann, "DateCreated"), "2003-07-05 09:04:03");

    EXPECT_EQ(history(key, "from_addr"), "Zoë Sender zoe@example.com");
    EXPECT_EQ(history(key, "to_addr"), "Ann ann@example.com,Bob bob@example.com");
    EXPECT_EQ(history(key, "cc_addr"), "null");
    EXPECT_EQ(history(key, "bcc_addr"), "Carl SMTP:carl@example.com");
    EXPECT_EQ(history(key, "priority"), "5");
    EXPECT_EQ(history(key, "subject"), subject);
    EXPECT_EQ(history(key, "date_time"), "2011-2-3 4:5:6"); // not sent: the current time
    EXPECT_EQ(history(key, "body_text"), "Hello 你好 it's me");
    EXPECT_EQ(history(key, "body_html"), "null");
    EXPECT_EQ(history(key, "content_type"), "text/plain");
    EXPECT_EQ(history(key, "att_count"), "2");
    EXPECT_EQ(history(key, "isDeleted"), "0");
    EXPECT_TRUE(messages().empty());

    // A synchronised mail: its owner is the creator and its id is qualified by the user.
    host::ItemPtr owned = mail("Owned", {ann});
    s.mapMail(owned->EntryID(), "77", "bob");
    engine.emailToContact(*owned, nullptr, false, false, false, false);
    EXPECT_EQ(link(owned->EntryID(), ann, "Creator"), "bob");
    EXPECT_EQ(link(owned->EntryID(), ann, "Attached_ID"), "alice:77");
    EXPECT_EQ(link(owned->EntryID(), ann, "PrivateAccess"), "1");
}

TEST_F(MailLinks, RelinkingDeletesAndRewritesTheContactRows) {
    const host::ItemPtr ann = contact("Ann Lee");
    const host::ItemPtr bob = contact("Bob Ray");
    const host::ItemPtr carl = contact("Carl Po");
    host::ItemPtr m = mail("Quarterly", {ann, bob});
    const std::string key = m->EntryID();

    engine.emailToContact(*m, nullptr, false, false, false, false);
    EXPECT_EQ(rows("noteTb", "OutlookAttachID", key), 2);
    s.exec("update noteTb set Regarding='stale' where OutlookAttachID='" + key + "'");

    m->Links().Remove(2); // Bob goes, Carl comes
    m->Links().Add(carl);
    engine.emailToContact(*m, nullptr, false, false, false, false);
    EXPECT_EQ(rows("noteTb", "OutlookAttachID", key), 2);
    EXPECT_EQ(link(key, ann, "Regarding"), "Quarterly"); // rewritten, not kept
    EXPECT_EQ(link(key, bob, "Regarding"), "");
    EXPECT_EQ(link(key, carl, "PrivateAccess"), "1");

    // The same contact chosen twice in a row stays one link.
    auto chosen = list({ann});
    engine.emailToContact(*m, chosen.get(), false, false, false, false);
    engine.emailToContact(*m, chosen.get(), false, false, false, false);
    EXPECT_EQ(rows("noteTb", "OutlookAttachID", key), 1);
    EXPECT_EQ(history(key, "att_count"), "1");
}

TEST_F(MailLinks, AttCountCountsContactAndEventLinks) {
    const host::ItemPtr ann = contact("Ann Lee");
    const host::ItemPtr bob = contact("Bob Ray");
    host::ItemPtr m = mail("Planning", {ann, bob});
    const std::string key = m->EntryID();
    s.mapEvent("EVENT-1", "carol_9");
    s.mapMail(key, "5", "alice");

    engine.emailToContact(*m, nullptr, false, false, false, false);
    EXPECT_EQ(history(key, "att_count"), "2");

    ASSERT_TRUE(engine.emailToEvent(*m, "EVENT-1", key, true));
    EXPECT_EQ(s.scalar("select contactID || '|' || Attached_ID || '|' || type || '|' || "
                       "bAttachment || '|' || MakeDelete || '|' || Regarding from ToEvent"),
              "carol_9|alice:5|1|1|0|Planning");
    EXPECT_EQ(history(key, "att_count"), "3"); // the new event link plus the contact links

    // Every call adds an event link; the count after an event link is 1 + contact links.
    ASSERT_TRUE(engine.emailToEvent(*m, "EVENT-1", key, false));
    EXPECT_EQ(rows("ToEvent", "OutlookEmailID", key), 2);
    EXPECT_EQ(history(key, "att_count"), "3");

    // Relinking contacts counts the new contact links and every event link, soft-deleted too.
    s.exec("update ToEvent set MakeDelete=1 where bAttachment=0");
    engine.emailToContact(*m, nullptr, false, false, false, false);
    EXPECT_EQ(history(key, "att_count"), "4");
}

TEST_F(MailLinks, RemovingAllContactLinksKeepsHistoryOnlyForLiveEventLinks) {
    const host::ItemPtr ann = contact("Ann Lee");
    host::ItemPtr m = mail("Follow-up", {ann});
    const std::string key = m->EntryID();
    engine.emailToContact(*m, nullptr, false, false, false, false);
    engine.emailToEvent(*m, "EVENT-1", key, false);
    engine.emailToEvent(*m, "EVENT-2", key, false);
    engine.emailToEvent(*m, "EVENT-3", key, false);
    s.exec("update ToEvent set MakeDelete=True where OutlookApptID='EVENT-3'");

    m->Links().Remove(1);
    engine.emailToContact(*m, nullptr, false, false, false, false);
    EXPECT_EQ(rows("noteTb", "OutlookAttachID", key), 0);
    EXPECT_EQ(history(key, "att_count"), "2");

    s.exec("update ToEvent set MakeDelete=True");
    engine.emailToContact(*m, nullptr, false, false, false, false);
    EXPECT_EQ(rows("EMailHistory", "entryid", key), 0);
    EXPECT_EQ(rows("ToEvent", "OutlookEmailID", key), 3); // event links are not this call's
}

TEST_F(MailLinks, AttachmentCopiesFollowTheLinksThatKeepThem) {
    const host::ItemPtr ann = contact("Ann Lee");
    host::ItemPtr m =
        mail("Files", {ann}, {{"report.final.pdf", "%PDF-1.4 body"}, {"photo.JPG", "JFIF"}});
    const std::string key = m->EntryID();
    s.mapMail(key, "42", "alice");
    const fs::path folder = s.installPath() / "attachments" / key;

    engine.emailToContact(*m, nullptr, false, false, true, false);
    EXPECT_EQ(fileText(folder / "1_report.final.pdf"), "%PDF-1.4 body");
    EXPECT_EQ(fileText(folder / "2_photo.JPG"), "JFIF");
    EXPECT_EQ(link(key, ann, "bAttachment"), "1");
    EXPECT_TRUE(engine.isAttachNoteTb(key));
    auto row = [&](int index) {
        return s.scalar("select ATT_NAME || '|' || ATT_CONTENT_TYPE || '|' || ATT_ALIAS || '|' || "
                        "Msg_ID || '|' || USER_NAME from Attachments where ALIAS_INDEX=" +
                        std::to_string(index));
    };
    EXPECT_EQ(row(1),
              "report.final.pdf|application/octet-stream|" + key + "/1_report.final.pdf|42|alice");
    EXPECT_EQ(row(2), "photo.JPG|image/jpeg|" + key + "/2_photo.JPG|42|alice");

    // A folder that exists already gets neither new copies nor new rows.
    engine.saveMailAttachments(*m, key);
    EXPECT_EQ(rows("Attachments", "EntryID", key), 2);

    // An event link that keeps the attachments holds the copies against a plain relink.
    engine.emailToEvent(*m, "EVENT-1", key, true);
    engine.emailToContact(*m, nullptr, false, false, false, false);
    EXPECT_TRUE(fs::exists(folder / "1_report.final.pdf"));
    EXPECT_FALSE(engine.isAttachNoteTb(key));

    s.exec("update ToEvent set bAttachment=0");
    engine.emailToContact(*m, nullptr, false, false, false, false);
    EXPECT_FALSE(fs::exists(folder));
    EXPECT_EQ(rows("Attachments", "EntryID", key), 0);

    // Without a folder the rows stay: there is nothing to say they were copied away.
    s.exec("insert into Attachments (EntryID, ATT_NAME, ALIAS_INDEX) values ('" + key +
           "', 'x', 1)");
    engine.removeMailAttachments(key);
    EXPECT_EQ(rows("Attachments", "EntryID", key), 1);
    EXPECT_TRUE(messages().empty());
}

TEST_F(MailLinks, AnOutgoingMailIsReKeyedWithItsRowsAndFolder) {
    const host::ItemPtr ann = contact("Ann Lee");
    host::ItemPtr m = mail("Sent to Ann", {ann}, {{"plan.txt", "step one"}});
    m->Set("SenderName", "Alice Wu");
    m->Set("SenderEmailAddress", "alice@velmora.example");
    m->Recipients().Add({"Ann", "ann@example.com", host::olTo});
    m->Send();
    const std::string oldKey = newMailID(*m);
    ASSERT_EQ(oldKey, "OutlookID200375943");

    auto chosen = list({ann});
    engine.emailToContact(*m, chosen.get(), true, true, false, false);
    engine.saveMailAttachments(*m, oldKey);
    EXPECT_EQ(history(oldKey, "from_addr"), "Alice Wu alice");
    EXPECT_EQ(s.scalar("select ATT_ALIAS from Attachments"), oldKey + "/1_plan.txt");

    // A new mail never gives up its copies, even when linked again without them.
    engine.emailToContact(*m, chosen.get(), true, true, false, false);
    EXPECT_EQ(rows("Attachments", "EntryID", oldKey), 1);
    engine.emailToEvent(*m, "EVENT-1", oldKey, true);

    s.host.deliverOutbox();
    const std::string newKey = m->EntryID();
    ASSERT_NE(newKey, oldKey);
    ASSERT_TRUE(engine.isNewMail(*m));
    engine.replaceNewMailID(*m);

    EXPECT_FALSE(engine.isNewMail(*m));
    EXPECT_EQ(rows("noteTb", "OutlookAttachID", newKey), 1);
    EXPECT_EQ(rows("ToEvent", "OutlookEmailID", newKey), 1);
    EXPECT_EQ(rows("noteTb", "OutlookAttachID", oldKey) +
                  rows("ToEvent", "OutlookEmailID", oldKey) +
                  rows("Attachments", "EntryID", oldKey),
              0);
    EXPECT_EQ(history(newKey, "from_addr"), "alice@velmora.example");
    EXPECT_EQ(history(newKey, "att_count"), "2");
    EXPECT_EQ(s.scalar("select ATT_ALIAS from Attachments where EntryID='" + newKey + "'"),
              newKey + "/1_plan.txt");
    const fs::path root = s.installPath() / "attachments";
    EXPECT_EQ(files::subFolders(root), std::vector<std::string>{newKey});
    EXPECT_EQ(fileText(root / newKey / "1_plan.txt"), "step one");
}

TEST_F(MailLinks, RelinkingReplacesEveryContactLinkOfTheMailWhoeverMadeIt) {
    const host::ItemPtr ann = contact("Ann Lee");
    const host::ItemPtr bob = contact("Bob Ray");
    const host::ItemPtr carl = contact("Carl Po");
    host::ItemPtr m = mail("Shared folder mail", {ann});
    host::ItemPtr other = mail("Another mail", {ann});
    const std::string key = m->EntryID();
    auto insert = [&](const std::string& mailKey, const host::ItemPtr& c, const char* creator,
                      int privateAccess) {
        s.exec("insert into noteTb (OutlookAttachID, OutlookContactID, Creator, PrivateAccess, "
               "type, MakeDelete) values ('" +
               mailKey + "','" + c->EntryID() + "','" + creator + "'," +
               std::to_string(privateAccess) + ",2,0)");
    };
    insert(key, bob, "bob", 1);  // bob's own private link
    insert(key, carl, "bob", 0); // bob's shared link
    insert(other->EntryID(), bob, "alice", 1);

    // The mail's links are the contacts it carries now: links the user removed go, whoever
    // made them.
    engine.emailToContact(*m, nullptr, false, false, false, false);
    EXPECT_EQ(link(key, bob, "Creator"), "");
    EXPECT_EQ(link(key, carl, "Creator"), "");
    EXPECT_EQ(link(key, ann, "Creator"), "alice");
    EXPECT_EQ(rows("noteTb", "OutlookAttachID", other->EntryID()), 1);
}

TEST_F(MailLinks, HostileAttachmentNamesNeverWriteOutsideTheMailsFolder) {
    const std::vector<std::string> names = {"../../outside.txt",    "..\\..\\evil.bat",
                                            "C:\\Windows\\win.ini", "/tmp/absolute.txt",
                                            "ctl\x01\x1f.txt",      ".."};
    std::vector<std::pair<std::string, std::string>> files;
    for (const auto& n : names)
        files.push_back({n, "payload " + n});
    const host::ItemPtr ann = contact("Ann Lee");
    host::ItemPtr m = mail("Hostile", {ann}, files);
    const std::string key = m->EntryID();

    engine.emailToContact(*m, nullptr, false, false, true, false);
    EXPECT_TRUE(messages().empty());

    const fs::path folder = s.installPath() / "attachments" / key;
    int copies = 0;
    for (const auto& entry : fs::recursive_directory_iterator(s.temp.path())) {
        if (!entry.is_regular_file()) continue;
        const fs::path p = entry.path();
        if (p == s.storeFile() || p.string().rfind(s.storeFile().string(), 0) == 0 ||
            p.string().find("registry") != std::string::npos)
            continue;
        EXPECT_EQ(p.parent_path(), folder) << p;
        ++copies;
    }
    EXPECT_EQ(copies, static_cast<int>(names.size()));
    EXPECT_FALSE(fs::exists("/tmp/absolute.txt"));
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string index = std::to_string(i + 1);
        EXPECT_EQ(s.scalar("select ATT_NAME from Attachments where ALIAS_INDEX=" + index),
                  names[i]);
        // The alias names the file written, which the synchronisation program reads.
        const std::string alias =
            s.scalar("select ATT_ALIAS from Attachments where ALIAS_INDEX=" + index);
        EXPECT_EQ(fileText(s.installPath() / "attachments" / alias), "payload " + names[i])
            << alias;
        EXPECT_EQ(fs::path(alias).parent_path(), fs::path(key)) << alias;
    }
}

TEST_F(MailLinks, AnyFailureRollsTheWholeOperationBack) {
    const host::ItemPtr ann = contact("Ann Lee");
    const host::ItemPtr bob = contact("Bob Ray");
    host::ItemPtr m = mail("Faults", {ann, bob}, {{"a.txt", "A"}, {"b.txt", "B"}});
    const std::string key = m->EntryID();

    // A contact row that cannot be read is reported, and the other one is not kept either.
    s.host.failMember("Item.Get.LastModificationTime", "property unavailable", 1);
    engine.emailToContact(*m, nullptr, false, false, false, false);
    EXPECT_EQ(messages(), std::vector<std::string>{"AttEmailToNoteTb :property unavailable"});
    EXPECT_EQ(rows("noteTb", "OutlookAttachID", key), 0);
    EXPECT_EQ(rows("EMailHistory", "entryid", key), 0);
    engine.emailToContact(*m, nullptr, false, false, false, false);
    EXPECT_EQ(history(key, "att_count"), "2");

    // A copy that fails is reported; the links stay as they were and no copy is left behind.
    s.host.failMember("Attachment.SaveAsFile", "disk is full", 1);
    engine.emailToContact(*m, nullptr, false, false, true, false);
    ASSERT_EQ(messages().size(), 2u);
    EXPECT_EQ(messages()[1], "labelSaveAttachment :disk is full");
    EXPECT_EQ(s.state.connection().TransactionDepth(), 0);
    EXPECT_EQ(link(key, bob, "bAttachment"), "0");
    EXPECT_EQ(rows("Attachments", "EntryID", key), 0);
    EXPECT_FALSE(fs::exists(engine.attachmentFolder(key)));

    // A msgid beyond 16 bits fails the attachment row after the first copy: no copy stays.
    host::ItemPtr big = mail("Big id", {ann}, {{"one.txt", "1"}, {"two.txt", "2"}});
    s.mapMail(big->EntryID(), "70000", "alice");
    engine.emailToContact(*big, nullptr, false, false, true, false);
    ASSERT_EQ(messages().size(), 3u);
    EXPECT_EQ(messages()[2].rfind("labelSaveAttachment :Overflow", 0), 0u) << messages()[2];
    EXPECT_FALSE(fs::exists(engine.attachmentCopy(big->EntryID(), 1, "one.txt")));
    EXPECT_EQ(rows("noteTb", "OutlookAttachID", big->EntryID()), 0);

    // An error that escapes the operation undoes its delete of the old contact rows.
    s.host.failMember("Item.Attachments", "the host went away", 1);
    EXPECT_THROW(engine.emailToContact(*m, nullptr, false, false, false, false), host::HostError);
    EXPECT_EQ(rows("noteTb", "OutlookAttachID", key), 2);
    EXPECT_EQ(s.state.connection().TransactionDepth(), 0);

    // A closed store says so and loses nothing.
    s.state.connection().Close();
    try {
        engine.emailToContact(*m, nullptr, false, false, false, false);
        ADD_FAILURE() << "a closed store must be reported";
    } catch (const ado::StoreError& e) {
        EXPECT_NE(std::string(e.what()), "");
    }
    s.state.storeConnection = openStore(s.state);
    EXPECT_EQ(rows("noteTb", "OutlookAttachID", key), 2);
    EXPECT_EQ(messages().size(), 3u);
}

TEST_F(MailLinks, FolderChangesFollowTheTransactionOfTheOperation) {
    const host::ItemPtr ann = contact("Ann Lee");
    host::ItemPtr m = mail("Atomic", {ann}, {{"keep.txt", "kept"}});
    const std::string key = m->EntryID();
    engine.emailToContact(*m, nullptr, false, false, true, false);
    const fs::path folder = s.installPath() / "attachments" / key;
    ASSERT_TRUE(fs::exists(folder / "1_keep.txt"));

    // The relink drops the copies, then fails: rows and copies both come back.
    s.host.failMember("Item.Links", "the host went away", 1);
    EXPECT_THROW(engine.emailToContact(*m, nullptr, false, false, false, false), host::HostError);
    EXPECT_EQ(rows("Attachments", "EntryID", key), 1);
    EXPECT_EQ(fileText(folder / "1_keep.txt"), "kept");

    // The same relink without a failure removes both.
    engine.emailToContact(*m, nullptr, false, false, false, false);
    EXPECT_EQ(rows("Attachments", "EntryID", key), 0);
    EXPECT_FALSE(fs::exists(folder));
}

TEST_F(MailLinks, CopiesReachTheMailsFolderOnlyOnceTheirRowsCommit) {
    const host::ItemPtr ann = contact("Ann Lee");
    host::ItemPtr m = mail("Staged", {ann}, {{"a.txt", "A"}, {"b.txt", "B"}});
    m->Recipients().Add({"Ann", "ann@example.com", host::olTo});
    m->Send();
    const std::string oldKey = newMailID(*m);
    const fs::path root = s.installPath() / "attachments";
    // Each file step, below the root, with whether the rows were committed when it was taken.
    std::vector<std::string> steps;
    s.state.platform.fileWatch = [&](std::string_view step, const fs::path& path) {
        const bool committed = s.state.connection().TransactionDepth() == 0;
        steps.push_back(std::string(step) + " " + path.lexically_relative(root).string() +
                        (committed ? " committed" : ""));
    };
    const std::string pending = pendingFolderName(oldKey);

    engine.emailToContact(*m, nullptr, true, false, true, false);
    EXPECT_EQ(steps, (std::vector<std::string>{
                         "create .", "create " + pending, "copy " + pending + "/1_a.txt",
                         "copy " + pending + "/2_b.txt", "rename " + pending + " committed"}));
    EXPECT_EQ(fileText(root / oldKey / "2_b.txt"), "B");

    // Re-keying shares the copies into the new key's pending folder; the old folder goes last.
    s.host.deliverOutbox();
    const std::string newKey = m->EntryID();
    steps.clear();
    engine.replaceNewMailID(*m);
    const std::string moved = pendingFolderName(newKey);
    EXPECT_EQ(steps, (std::vector<std::string>{"create " + moved, "copy " + oldKey + "/1_a.txt",
                                               "copy " + oldKey + "/2_b.txt",
                                               "rename " + moved + " committed",
                                               "delete " + oldKey + " committed"}));
    EXPECT_EQ(files::subFolders(root), std::vector<std::string>{newKey});
    EXPECT_EQ(fileText(root / newKey / "1_a.txt"), "A");

    // A folder whose copies have no rows is what an interrupted copy left: it is copied afresh.
    s.exec("delete from Attachments");
    std::ofstream(root / newKey / "9_stray.txt") << "stray";
    steps.clear();
    engine.saveMailAttachments(*m, newKey);
    EXPECT_EQ(rows("Attachments", "EntryID", newKey), 2);
    EXPECT_FALSE(fs::exists(root / newKey / "9_stray.txt"));
    EXPECT_EQ(fileText(root / newKey / "2_b.txt"), "B");
    EXPECT_EQ(steps.back(), "rename " + moved + " committed");
}

TEST_F(MailLinks, TheNextStartFinishesOrDropsWhatACrashLeft) {
    const fs::path root = s.installPath() / "attachments";
    auto put = [](const fs::path& file, const std::string& text) {
        fs::create_directories(file.parent_path());
        std::ofstream(file) << text;
    };
    auto row = [&](const std::string& alias) {
        s.exec("insert into Attachments (EntryID, ATT_ALIAS, ALIAS_INDEX) values ('k', '" + alias +
               "', 1)");
    };
    // Committed, not yet in place: the pending copies replace what the folder held.
    put(root / pendingFolderName("K1") / "1_a.txt", "new");
    put(root / "K1" / "1_old.txt", "old");
    row("K1/1_a.txt");
    // Not committed; a removal committed before its folder went.
    put(root / pendingFolderName("K2") / "1_b.txt", "b");
    put(root / "K3" / "1_c.txt", "c");
    // Settled copies keep their folder, less a file no row names.
    put(root / "K4" / "1_d.txt", "d");
    put(root / "K4" / "2_e.txt", "e");
    row("K4/1_d.txt");
    // A row naming a path out of the root is not followed.
    put(s.installPath() / "kept.txt", "kept");
    row("../kept.txt");

    tidyAttachmentFolders(s.state);
    EXPECT_EQ(files::subFolders(root), (std::vector<std::string>{"K1", "K4"}));
    EXPECT_EQ(fileText(root / "K1" / "1_a.txt"), "new");
    EXPECT_FALSE(fs::exists(root / "K1" / "1_old.txt"));
    EXPECT_TRUE(fs::exists(root / "K4" / "1_d.txt"));
    EXPECT_FALSE(fs::exists(root / "K4" / "2_e.txt"));
    EXPECT_TRUE(fs::exists(s.installPath() / "kept.txt"));
}

TEST(FileChangeJournal, RollbackDropsStagedFoldersAndCommitPutsThemInPlace) {
    testing::TempDir dir;
    const fs::path made = dir.path() / "made";
    const fs::path pending = dir.path() / ".pending-mail";
    const fs::path folder = dir.path() / "mail";
    const fs::path doomed = dir.path() / "doomed";
    fs::create_directories(pending / "1_new.txt");
    fs::create_directories(folder / "stale");
    fs::create_directory(doomed);

    const Platform platform;
    const FileSteps steps(platform);
    FileChangeJournal journal(steps);
    const std::size_t start = journal.mark();
    files::createFolder(made);
    journal.createdFolder(made);
    journal.stagedFolder(pending, folder);
    journal.deleteOnCommit(doomed);
    journal.rollbackTo(start);
    EXPECT_FALSE(fs::exists(made));
    EXPECT_FALSE(fs::exists(pending));
    EXPECT_TRUE(fs::exists(folder / "stale"));
    EXPECT_TRUE(fs::exists(doomed));

    fs::create_directories(pending / "1_new.txt");
    journal.stagedFolder(pending, folder);
    EXPECT_TRUE(journal.isStaged(pending));
    journal.deleteOnCommit(doomed);
    journal.commit();
    EXPECT_TRUE(fs::exists(folder / "1_new.txt"));
    EXPECT_FALSE(fs::exists(folder / "stale"));
    EXPECT_FALSE(fs::exists(pending));
    EXPECT_FALSE(fs::exists(doomed));
    EXPECT_EQ(journal.mark(), 0u);
}

} // namespace
} // namespace velmora
