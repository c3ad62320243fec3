// The sample and benchmark mailboxes read back through the mailbox's own readers: every file
// whole, in the folders and numbers the host expects, senders that are contacts.
#include "platform/mailbox/SampleMailbox.h"

#include "platform/host/DateText.h"
#include "platform/mailbox/CalendarFile.h"
#include "platform/mailbox/ContactCard.h"
#include "platform/mailbox/Maildir.h"
#include "platform/mailbox/MailFile.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <stdexcept>
#include <tuple>

namespace velmora::mailbox {
namespace {

namespace fs = std::filesystem;

class SampleMailboxTest : public ::testing::Test {
  protected:
    // Every mail of every folder, read whole; a problem fails the test naming the file.
    std::map<std::string, std::vector<std::pair<MaildirMessage, MailMessage>>> mails() const {
        const Maildir box(root_ / "Mail");
        std::map<std::string, std::vector<std::pair<MaildirMessage, MailMessage>>> all;
        std::vector<std::string> folders = box.folders();
        folders.emplace_back("Inbox");
        for (const std::string& folder : folders)
            for (const MaildirMessage& entry : box.messages(folder)) {
                MailRead read = MailFile::read(entry.file);
                EXPECT_EQ(describeProblems(entry.file, read.problems), "");
                all[folder].emplace_back(entry, std::move(read.mail));
            }
        return all;
    }

    // Every item of the folder's .ics files, each file one item named by its UID.
    std::vector<CalendarItem> items(const char* folder) const {
        std::vector<CalendarItem> all;
        for (const auto& entry : fs::directory_iterator(root_ / folder)) {
            const CalendarData calendar = CalendarFile::read(entry.path());
            EXPECT_EQ(calendar.problem, "");
            EXPECT_EQ(calendar.items.size(), 1U) << entry.path();
            if (calendar.items.empty()) continue;
            EXPECT_EQ(entry.path().filename(), calendar.items[0].uid + ".ics");
            all.push_back(calendar.items[0]);
        }
        return all;
    }

    // The first address of every contact, each card read whole and named by its UID.
    std::set<std::string> contactAddresses() const {
        std::set<std::string> addresses;
        for (const auto& entry : fs::directory_iterator(root_ / "Contacts")) {
            const ContactData contact = ContactCard::read(entry.path());
            EXPECT_EQ(contact.problem, "");
            EXPECT_EQ(entry.path().filename(), contact.uid + ".vcf");
            addresses.insert(contact.emailAddress(1));
        }
        return addresses;
    }

    const testing::TempDir temp_;
    const fs::path& root_ = temp_.path();
};

const CalendarItem& named(const std::vector<CalendarItem>& items, const std::string& summary) {
    const auto found = std::find_if(items.begin(), items.end(),
                                    [&](const CalendarItem& i) { return i.summary == summary; });
    if (found == items.end()) throw std::runtime_error("no item \"" + summary + "\"");
    return *found;
}

TEST_F(SampleMailboxTest, TheSampleReadsBackWholeWithEveryKindOfItem) {
    writeSampleMailbox(root_);

    const auto folders = mails();
    std::map<std::string, std::size_t> counts;
    for (const auto& [folder, list] : folders)
        counts[folder] = list.size();
    EXPECT_EQ(counts, (std::map<std::string, std::size_t>{
                          {"Drafts", 2}, {"Inbox", 24}, {"Inbox/Projects", 5}, {"Sent", 5}}));
    const std::set<std::string> addresses = contactAddresses();
    EXPECT_EQ(addresses.size(), 12U);
    std::set<std::string> subjects;
    std::set<std::string> attachmentNames;
    int unread = 0;
    for (const auto& [folder, list] : folders)
        for (const auto& [entry, mail] : list) {
            subjects.insert(mail.subject);
            unread += entry.flags.find('S') == std::string::npos ? 1 : 0;
            // Drafts are unsent: no date; everything else was sent at a time of its own.
            EXPECT_EQ(mail.sentOn.has_value(), folder != "Drafts") << mail.subject;
            const bool received = folder.starts_with("Inbox");
            const std::string& other = received ? mail.senderAddress : mail.recipients[0].address;
            EXPECT_TRUE(addresses.count(other)) << mail.subject << ": " << other;
            for (const MailAttachment& attachment : mail.attachments)
                if (!attachment.content.empty()) attachmentNames.insert(attachment.displayName);
        }
    EXPECT_GE(unread, 5);
    EXPECT_TRUE(subjects.count("Re: \"Phoenix\" rollout checklist"));
    EXPECT_TRUE(subjects.count("Grace's notes from Tuesday's review"));
    EXPECT_TRUE(subjects.count("关于下周的供应商会议"));
    EXPECT_TRUE(attachmentNames.count("测试报告-第三轮.txt"));
    EXPECT_TRUE(attachmentNames.count("贺卡设计稿.pdf"));
    EXPECT_TRUE(attachmentNames.count("agenda.txt"));

    const std::vector<CalendarItem> events = items("Calendar");
    ASSERT_EQ(events.size(), 8U);
    const Recurrence& weekly = named(events, "Team sync").recurrence.value();
    EXPECT_EQ(weekly.pattern.RecurrenceType, host::olRecursWeekly);
    EXPECT_EQ(weekly.pattern.DayOfWeekMask, 2); // Monday
    EXPECT_EQ(weekly.pattern.Occurrences, 20);
    ASSERT_EQ(weekly.exceptionDates.size(), 1U);
    EXPECT_EQ(weekly.exceptionDates[0].local, host::makeDate(2026, 12, 28, 9, 30));
    const Recurrence& monthly = named(events, "Monthly budget review").recurrence.value();
    EXPECT_EQ(monthly.pattern.RecurrenceType, host::olRecursMonthly);
    EXPECT_EQ(monthly.pattern.DayOfMonth, 15);
    EXPECT_TRUE(named(events, "Company offsite").allDayEvent());
    const CalendarItem& shanghai = named(events, "供应商会议 (青松科技)");
    EXPECT_EQ(shanghai.start->zone, "Asia/Shanghai");
    EXPECT_EQ(shanghai.start->utc, host::makeDate(2026, 12, 9, 2, 0));

    for (const auto& [folder, kind, count] : {std::tuple{"Tasks", CalendarItemKind::Task, 4U},
                                              std::tuple{"Notes", CalendarItemKind::Note, 4U},
                                              std::tuple{"Journal", CalendarItemKind::Note, 2U}}) {
        const std::vector<CalendarItem> list = items(folder);
        EXPECT_EQ(list.size(), count) << folder;
        for (const CalendarItem& item : list)
            EXPECT_EQ(item.kind, kind) << item.uid;
    }
}

TEST_F(SampleMailboxTest, TheBenchmarkMailboxHasTheSizeAskedForAndReadsBack) {
    writeBenchMailbox(root_, {240, 30, 40});

    std::size_t total = 0;
    std::size_t isNew = 0;
    const std::set<std::string> addresses = contactAddresses();
    EXPECT_EQ(addresses.size(), 30U);
    for (const auto& [folder, list] : mails()) {
        total += list.size();
        for (const auto& [entry, mail] : list) {
            isNew += entry.isNew ? 1 : 0;
            const bool sent = folder == "Sent";
            EXPECT_TRUE(addresses.count(sent ? mail.recipients[0].address : mail.senderAddress))
                << folder << ": " << mail.subject;
        }
    }
    EXPECT_EQ(total, 240U);
    EXPECT_GT(isNew, 0U);
    const std::vector<CalendarItem> events = items("Calendar");
    EXPECT_EQ(events.size(), 40U);
    EXPECT_TRUE(std::any_of(events.begin(), events.end(),
                            [](const CalendarItem& e) { return e.recurrence.has_value(); }));
}

} // namespace
} // namespace velmora::mailbox
