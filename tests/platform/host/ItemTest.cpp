// Tests of in-memory items and folders: properties and their derivations, entry IDs, save and
// delete events, links, attachments, recurrence, default folders and Chinese folder names.
#include "platform/clock/Clock.h"
#include "platform/host/DateText.h"
#include "platform/host/InMemoryHost.h"

#include "support/ErrorText.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace velmora::host;

namespace {

using velmora::testing::errorText;

} // namespace

TEST(Item, PropertiesAreTypedCaseInsensitiveAndChecked) {
    InMemoryHost host;
    auto mail = host.folder(olFolderInbox)->Items()->Add(olMailItem);
    EXPECT_EQ(mail->Class(), olMail);
    EXPECT_EQ(mail->Number("Importance"), olImportanceNormal);
    mail->Set("subject", "Hello");
    EXPECT_EQ(mail->Subject(), "Hello");
    EXPECT_EQ(mail->Text("SUBJECT"), "Hello");
    mail->Set("Importance", std::string("2"));
    EXPECT_EQ(mail->Number("Importance"), 2);
    EXPECT_NE(errorText<HostError>([&] { mail->Set("Importance", 7L); }).find("outside 0 to 2"),
              std::string::npos);
    EXPECT_EQ(errorText<HostError>([&] { mail->Get("FullName"); }),
              "Object doesn't support this property or method: \"FullName\" (mail item)");
    EXPECT_NE(errorText<HostError>([&] { mail->Set("Sent", true); }).find("read-only"),
              std::string::npos);
    EXPECT_NE(
        errorText<HostError>([&] { mail->Set("SentOn", std::string("soon")); }).find("read-only"),
        std::string::npos);
    auto appt = host.folder(olFolderCalendar)->Items()->Add(olAppointmentItem);
    EXPECT_NE(errorText<HostError>([&] {
                  appt->Set("Start", std::string("soon"));
              }).find("Type mismatch"),
              std::string::npos);
    EXPECT_EQ(mail->Subject(), "Hello"); // failed sets changed nothing
    EXPECT_EQ(mail->Number("Importance"), 2);
}

TEST(Item, VariantConversionsUseOneTextFormForDates) {
    const DateTime t = makeDate(2003, 7, 5, 9, 4, 3);
    EXPECT_EQ(variantText(Variant{t}), "2003-07-05 09:04:03");
    EXPECT_EQ(variantDate(Variant{std::string("2003-07-05 09:04:03")}), t);
    EXPECT_EQ(variantDate(Variant{std::string("07/05/2003 09:04:03")}), t);
    EXPECT_EQ(variantText(Variant{true}), "True");
    EXPECT_EQ(variantNumber(Variant{std::string(" 42 ")}), 42);
    EXPECT_TRUE(variantFlag(Variant{std::string("TRUE")}));
    EXPECT_FALSE(variantFlag(Variant{}));
    EXPECT_THROW(variantNumber(Variant{std::string("4x")}), HostError);
    EXPECT_THROW(variantFlag(Variant{std::string("perhaps")}), HostError);
    EXPECT_THROW(variantDate(Variant{3L}), HostError);
}

TEST(Item, ContactNamesDeriveEachOther) {
    InMemoryHost host;
    auto c = host.folder(olFolderContacts)->Items()->Add(olContactItem);
    c->Set("FirstName", "Ann");
    c->Set("LastName", "Lee");
    EXPECT_EQ(c->Text("FullName"), "Ann Lee");
    EXPECT_EQ(c->Text("FileAs"), "Lee, Ann");
    c->Set("FullName", "Bob van Dam");
    EXPECT_EQ(c->Text("FirstName"), "Bob");
    EXPECT_EQ(c->Text("MiddleName"), "van");
    EXPECT_EQ(c->Text("LastName"), "Dam");
    EXPECT_EQ(c->Text("FileAs"), "Dam, Bob");
    c->Set("FileAs", "Boss");
    c->Set("LastName", "Dyke");
    EXPECT_EQ(c->Text("FullName"), "Bob van Dyke");
    EXPECT_EQ(c->Text("FileAs"), "Boss");
    c->Set("BusinessAddressStreet", "1 Main St");
    c->Set("BusinessAddressCity", "Springfield");
    c->Set("BusinessAddressCountry", "USA");
    EXPECT_EQ(c->Text("BusinessAddress"), "1 Main St\nSpringfield\nUSA");
}

TEST(Item, AppointmentTimesStayConsistent) {
    InMemoryHost host;
    velmora::timekeeping::FixedClock clock(makeDate(2024, 5, 1, 10, 10));
    host.setClock(clock);
    auto a = host.folder(olFolderCalendar)->Items()->Add(olAppointmentItem);
    EXPECT_EQ(a->Date("Start"), makeDate(2024, 5, 1, 10, 30));
    EXPECT_EQ(a->Date("End"), makeDate(2024, 5, 1, 11, 0));
    a->Set("End", makeDate(2024, 5, 1, 12, 0));
    EXPECT_EQ(a->Number("Duration"), 90);
    a->Set("Start", makeDate(2024, 5, 2, 8, 0)); // the length is kept
    EXPECT_EQ(a->Date("End"), makeDate(2024, 5, 2, 9, 30));
    EXPECT_THROW(a->Set("End", makeDate(2024, 5, 1, 0, 0)), HostError);
    EXPECT_FALSE(a->Flag("IsRecurring"));
    RecurrencePattern p;
    p.RecurrenceType = olRecursWeekly;
    p.DayOfWeekMask = 2;
    a->SetRecurrencePattern(p);
    EXPECT_TRUE(a->Flag("IsRecurring"));
    EXPECT_EQ(a->GetRecurrencePattern().DayOfWeekMask, 2);
    p.DayOfWeekMask = 0;
    EXPECT_THROW(a->SetRecurrencePattern(p), HostError);
    auto contact = host.application().CreateItem(olContactItem);
    EXPECT_THROW(contact->GetRecurrencePattern(), HostError);
}

TEST(Item, SaveGivesAnEntryIdAndRaisesAddOnceThenChangeOncePerSave) {
    InMemoryHost host;
    velmora::timekeeping::FixedClock clock(makeDate(2024, 1, 1, 8, 0));
    host.setClock(clock);
    auto items = host.folder(olFolderNotes)->Items();
    std::vector<std::string> events;
    auto a = items->ItemAdd().subscribe([&](ItemPtr) { events.push_back("add"); });
    auto c = items->ItemChange().subscribe([&](ItemPtr i) {
        events.push_back("change");
        i->Save(); // a save from the handler does not raise again
    });
    auto note = items->Add(olNoteItem);
    EXPECT_EQ(note->EntryID(), "");
    EXPECT_EQ(items->Count(), 0);
    note->Set("Body", "Shopping\nmilk");
    EXPECT_EQ(note->Subject(), "Shopping");
    EXPECT_THROW(note->Set("Subject", "x"), HostError);
    clock.set(makeDate(2024, 1, 1, 8, 5));
    note->Save();
    EXPECT_GE(note->EntryID().size(), 48u);
    EXPECT_EQ(note->Date("CreationTime"), makeDate(2024, 1, 1, 8, 0));
    EXPECT_EQ(note->Date("LastModificationTime"), makeDate(2024, 1, 1, 8, 5));
    const std::string id = note->EntryID();
    note->Save();
    EXPECT_EQ(note->EntryID(), id);
    EXPECT_EQ(events, (std::vector<std::string>{"add", "change"}));
    c.reset(); // unsubscribed handlers hear nothing
    note->Save();
    EXPECT_EQ(events.size(), 2u);
    auto other = items->Add(olNoteItem);
    other->Save();
    EXPECT_NE(other->EntryID(), id);
    EXPECT_EQ(host.application().GetNamespace("mapi").GetItemFromID(id), note);
}

TEST(Item, DeleteMovesToDeletedItemsThenRemovesForGood) {
    InMemoryHost host;
    auto contacts = host.folder(olFolderContacts)->Items();
    auto bin = host.folder(olFolderDeletedItems)->Items();
    auto contact = contacts->Add(olContactItem);
    contact->Set("FullName", "Ann Lee");
    contact->Save();
    auto mail = host.folder(olFolderInbox)->Items()->Add(olMailItem);
    mail->Save();
    mail->Links().Add(contact);
    mail->Links().Add(contact);
    EXPECT_EQ(mail->Links().Count(), 1);
    EXPECT_EQ(mail->Links().Item(1), contact);
    int binAdds = 0;
    auto s = bin->ItemAdd().subscribe([&](ItemPtr) { ++binAdds; });
    const std::string oldId = contact->EntryID();
    contact->Delete();
    EXPECT_EQ(binAdds, 1);
    EXPECT_EQ(contacts->Count(), 0);
    EXPECT_EQ(bin->Count(), 1);
    EXPECT_NE(contact->EntryID(), oldId);
    EXPECT_EQ(mail->Links().Item(1), nullptr); // a stale link
    contact->Delete();
    EXPECT_EQ(bin->Count(), 0);
    EXPECT_EQ(host.application().GetNamespace("MAPI").GetItemFromID(contact->EntryID()), nullptr);
    EXPECT_THROW(contact->Save(), HostError);
    EXPECT_THROW(mail->Links().Add(host.application().CreateItem(olContactItem)), HostError);
    EXPECT_THROW(mail->Links().Add(mail), HostError);
}

TEST(Item, RecipientsFeedToCcBccAndAttachmentsSaveToFiles) {
    InMemoryHost host;
    auto mail = host.application().CreateItem(olMailItem);
    mail->Recipients().Add({"Ann", "ann@x.com", olTo});
    mail->Recipients().Add({"", "bob@x.com", olTo});
    mail->Recipients().Add({"Cy", "cy@x.com", olCC});
    EXPECT_EQ(mail->Text("To"), "Ann; bob@x.com");
    EXPECT_EQ(mail->Text("CC"), "Cy");
    mail->Recipients().Remove(1);
    EXPECT_EQ(mail->Text("To"), "bob@x.com");
    EXPECT_THROW(mail->Recipients().Item(3), HostError);
    EXPECT_THROW(mail->Recipients().Add({"", "", olTo}), HostError);

    mail->Attachments().Add("report.txt", std::string("a\0b", 3));
    auto att = mail->Attachments().Item(1);
    EXPECT_EQ(att->Index(), 1);
    const auto path = std::filesystem::temp_directory_path() /
                      ("velmora-host-att-" + std::to_string(::getpid()) + ".bin");
    att->SaveAsFile(path.string());
    std::ifstream in(path, std::ios::binary);
    std::stringstream bytes;
    bytes << in.rdbuf();
    EXPECT_EQ(bytes.str(), std::string("a\0b", 3));
    std::filesystem::remove(path);
    const std::string err =
        errorText<HostError>([&] { att->SaveAsFile("/nonexistent-dir/x/report.txt"); });
    EXPECT_NE(err.find("No such file or directory"), std::string::npos) << err;
    auto note = host.application().CreateItem(olNoteItem);
    EXPECT_THROW(note->Attachments(), HostError);
    EXPECT_THROW(note->Recipients(), HostError);
}

TEST(Folders, DefaultFoldersStoresAndSubfolders) {
    InMemoryHost host;
    auto& ns = host.application().GetNamespace("MAPI");
    const std::pair<int, const char*> expected[] = {
        {3, "Deleted Items"}, {4, "Outbox"},   {5, "Sent Items"}, {6, "Inbox"},  {9, "Calendar"},
        {10, "Contacts"},     {11, "Journal"}, {12, "Notes"},     {13, "Tasks"}, {16, "Drafts"}};
    for (auto [type, name] : expected)
        EXPECT_EQ(ns.GetDefaultFolder(type)->Name(), name);
    EXPECT_NE(errorText<HostError>([&] { ns.GetDefaultFolder(7); }).find("not a default folder"),
              std::string::npos);
    auto inbox = ns.GetDefaultFolder(olFolderInbox);
    EXPECT_EQ(inbox->Parent()->Name(), "Personal Folders");
    EXPECT_EQ(inbox->Parent()->Parent(), nullptr);
    EXPECT_EQ(ns.GetDefaultFolder(olFolderContacts)->DefaultItemType(), olContactItem);
    auto sub = inbox->AddFolder("Projects", olMailItem);
    EXPECT_EQ(sub->Parent(), inbox);
    EXPECT_EQ(inbox->Folders().size(), 1u);
    EXPECT_THROW(inbox->AddFolder("projects", olMailItem), HostError);
    EXPECT_THROW(inbox->AddFolder("", olMailItem), HostError);
    auto archive = host.addStore("Archive");
    EXPECT_NE(archive->StoreID(), inbox->StoreID());
    EXPECT_EQ(ns.Folders().size(), 2u);
    EXPECT_THROW(host.addStore("archive"), HostError);
    // An item kept in the archive is found only with the archive's store ID.
    auto old = archive->AddFolder("2019", olMailItem)->Items()->Add(olMailItem);
    old->Save();
    EXPECT_EQ(ns.GetItemFromID(old->EntryID(), archive->StoreID()), old);
    EXPECT_EQ(ns.GetItemFromID(old->EntryID(), inbox->StoreID()), nullptr);
    old->Delete();
    EXPECT_EQ(old->Parent()->Name(), "Deleted Items");
    EXPECT_EQ(old->Parent()->StoreID(), archive->StoreID());
    EXPECT_THROW(host.application().GetNamespace("LDAP"), HostError);
}

TEST(Folders, ChineseHostUsesChineseNames) {
    InMemoryHost host(true);
    EXPECT_EQ(host.folder(olFolderInbox)->Parent()->Name(), "个人文件夹");
    const std::pair<int, const char*> expected[] = {{olFolderInbox, "收件箱"},
                                                    {olFolderOutbox, "发件箱"},
                                                    {olFolderSentMail, "已发送的邮件"},
                                                    {olFolderDeletedItems, "已删除的邮件"},
                                                    {olFolderDrafts, "草稿"},
                                                    {olFolderCalendar, "日历"},
                                                    {olFolderContacts, "联系人"},
                                                    {olFolderTasks, "任务"},
                                                    {olFolderNotes, "便笺"},
                                                    {olFolderJournal, "日记"}};
    for (auto [type, name] : expected)
        EXPECT_EQ(host.folder(type)->Name(), name);
    auto c = host.folder(olFolderContacts)->Items()->Add(olContactItem);
    c->Set("FullName", "王小明");
    c->Save();
    EXPECT_EQ(host.folder(olFolderContacts)->Items()->Find("[FullName] = '王小明'"), c);
}
