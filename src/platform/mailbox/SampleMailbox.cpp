// Writes the sample mailbox (fixed people, mails and calendar items in English and Chinese)
// and the generated benchmark mailbox, through Maildir, MailFile, CalendarFile and ContactCard.
#include "platform/mailbox/SampleMailbox.h"

#include "platform/host/DateText.h"
#include "platform/mailbox/CalendarFile.h"
#include "platform/mailbox/ContactCard.h"
#include "platform/mailbox/Maildir.h"
#include "platform/mailbox/MailFile.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::mailbox {
namespace {

namespace fs = std::filesystem;
using host::DateTime;
using host::makeDate;

// ---- writing items

fs::path itemFolder(const fs::path& root, const char* name) {
    fs::path dir = root / name;
    std::error_code error;
    fs::create_directories(dir, error);
    if (error)
        throw MailboxError("cannot create the folder " + dir.string() + ": " + error.message());
    return dir;
}

void writeContact(const fs::path& folder, const ContactData& contact) {
    ContactCard::write(folder / (contact.uid + ".vcf"), contact);
}

void writeCalendarItem(const fs::path& folder, CalendarItem item) {
    const fs::path file = folder / (item.uid + ".ics");
    CalendarData calendar;
    calendar.items.push_back(std::move(item));
    CalendarFile::write(file, calendar);
}

CalendarTime floatingTime(DateTime local) {
    CalendarTime time;
    time.local = local;
    return time;
}

CalendarTime utcTime(DateTime instant) {
    CalendarTime time;
    time.local = instant;
    time.zone = "UTC";
    time.utc = instant;
    return time;
}

CalendarTime dateOnly(DateTime day) {
    CalendarTime time;
    time.local = day;
    time.dateOnly = true;
    return time;
}

CalendarItem calendarItem(CalendarItemKind kind, std::string uid, std::string summary,
                          std::optional<CalendarTime> start, std::optional<CalendarTime> end) {
    CalendarItem item;
    item.kind = kind;
    item.uid = std::move(uid);
    item.summary = std::move(summary);
    item.start = std::move(start);
    item.end = std::move(end);
    return item;
}

// The host's weekday mask: Sunday 1, Monday 2, ... Saturday 64.
constexpr int kMonday = 2;

Recurrence repeating(int type, int dayOfWeekMask, int dayOfMonth) {
    Recurrence recurrence;
    recurrence.pattern.RecurrenceType = type;
    recurrence.pattern.DayOfWeekMask = dayOfWeekMask;
    recurrence.pattern.DayOfMonth = dayOfMonth;
    return recurrence;
}

// A Chinese name is written family name first and without a space; others given name first.
std::string fullName(const std::string& first, const std::string& last) {
    const bool chinese = !last.empty() && static_cast<unsigned char>(last[0]) >= 0x80;
    return chinese ? last + first : first + " " + last;
}

// ---- the sample's people

// The owner of the sample mailbox, who sends the mails in Sent and Drafts.
constexpr int kMe = -1;
constexpr const char* kMyName = "Morgan Reyes";
constexpr const char* kMyAddress = "morgan.reyes@brightfield.example";

// A contact with one work address, a work and perhaps a mobile phone ("" for none).
ContactData person(const std::string& first, const std::string& last, const std::string& address,
                   const std::string& company, const std::string& department,
                   const std::string& workPhone, const std::string& mobilePhone,
                   const std::string& category) {
    ContactData contact;
    contact.fullName = fullName(first, last);
    contact.firstName = first;
    contact.lastName = last;
    contact.emails.push_back({address, "work"});
    contact.phones.push_back({workPhone, "work"});
    if (!mobilePhone.empty()) contact.phones.push_back({mobilePhone, "cell"});
    contact.companyName = company;
    contact.department = department;
    if (!category.empty()) contact.categories.push_back(category);
    return contact;
}

// Invented people at invented companies, as their contact cards; the addresses are under
// .example, which never reaches anyone. Made once: every mail of the sample names some.
const std::vector<ContactData>& samplePeople() {
    static const std::vector<ContactData> people = [] {
        std::vector<ContactData> list = {
            person("Alice", "Harwood", "alice.harwood@brightfield.example", "Brightfield Analytics",
                   "Sales", "+44 20 7946 0101", "+44 7700 900101", "Colleagues"),
            person("Ben", "Okafor", "ben.okafor@brightfield.example", "Brightfield Analytics",
                   "Engineering", "+44 20 7946 0102", "+44 7700 900102", "Colleagues"),
            person("Clara", "Lindqvist", "clara.lindqvist@lanternbay.example",
                   "Lantern Bay Logistics", "Operations", "+44 161 496 0103", "", "Suppliers"),
            person("Daniel", "Moreau", "daniel.moreau@lanternbay.example", "Lantern Bay Logistics",
                   "Finance", "+44 161 496 0104", "+44 7700 900104", "Suppliers"),
            person("Emma", "Whitcombe", "emma.whitcombe@halcyonprint.example",
                   "Halcyon Print Works", "Studio", "+44 117 496 0105", "", "Suppliers"),
            person("Farid", "Nasser", "farid.nasser@halcyonprint.example", "Halcyon Print Works",
                   "Purchasing", "+44 117 496 0106", "+44 7700 900106", "Suppliers"),
            person("晓明", "王", "wang.xiaoming@qingsong-tech.example", "青松科技有限公司",
                   "销售部", "+86 21 5550 0107", "+86 139 5550 0107", "Suppliers"),
            person("静", "李", "li.jing@qingsong-tech.example", "青松科技有限公司", "研发部",
                   "+86 21 5550 0108", "", "Suppliers"),
            person("伟", "陈", "chen.wei@hongqiao-trading.example", "虹桥贸易有限公司", "采购部",
                   "+86 21 5550 0109", "+86 138 5550 0109", "Customers"),
            person("丽华", "张", "zhang.lihua@hongqiao-trading.example", "虹桥贸易有限公司",
                   "财务部", "+86 21 5550 0110", "", "Customers"),
            person("Grace", "O'Neill", "grace.oneill@meridianvale.example",
                   "Meridian & Vale Solicitors", "Commercial", "+44 20 7946 0111", "", "Advisers"),
            person("Hiro", "Tanabe", "hiro.tanabe@brightfield.example", "Brightfield Analytics",
                   "Design", "+44 20 7946 0112", "+44 7700 900112", "Colleagues"),
        };
        for (std::size_t i = 0; i < list.size(); ++i)
            list[i].uid = "sample-contact-" + std::to_string(i + 1);
        return list;
    }();
    return people;
}

enum Who { Alice, Ben, Clara, Daniel, Emma, Farid, Wang, Li, Chen, Zhang, Grace, Hiro };

MailRecipient addressed(const ContactData& contact, RecipientType type) {
    return {contact.fullName, contact.emailAddress(1), type};
}

MailRecipient recipientOf(int who, RecipientType type) {
    if (who == kMe) return {kMyName, kMyAddress, type};
    return addressed(samplePeople().at(static_cast<std::size_t>(who)), type);
}

// A plain text mail from one person to another; the sender's type is not used.
MailMessage letter(const MailRecipient& from, MailRecipient to, std::string subject,
                   std::optional<DateTime> sentOn, std::string body) {
    MailMessage mail;
    mail.senderName = from.name;
    mail.senderAddress = from.address;
    mail.recipients.push_back(std::move(to));
    mail.subject = std::move(subject);
    mail.sentOn = sentOn;
    mail.body = std::move(body);
    return mail;
}

// ---- the sample's mails

MailAttachment textFile(const char* name, const char* text) {
    return {name, "text/plain", text};
}

// Bytes a viewer takes for a PDF (header, catalogue, trailer); the page itself is left out.
MailAttachment pdfFile(const char* name, const std::string& title) {
    return {name, "application/pdf",
            "%PDF-1.4\n%\xE2\xE3\xCF\xD3\n1 0 obj\n<< /Type /Catalog /Title (" + title +
                ") >>\nendobj\ntrailer\n<< /Root 1 0 R >>\n%%EOF\n"};
}

DateTime at(int month, int day, int hour = 0, int minute = 0) {
    return makeDate(2026, month, day, hour, minute);
}

// One mail of the sample and where it lies: its folder and its Maildir flags ("" with isNew is
// a mail no client has seen yet, "" alone one seen but left unread). The setters read as the
// table below: received(...).cc(...).with(...).
struct SampleMail {
    std::string folder;
    MailMessage message;
    std::string flags = "S";
    bool isNew = false;

    SampleMail in(std::string name) && {
        folder = std::move(name);
        return std::move(*this);
    }
    SampleMail cc(const std::vector<int>& people) && {
        for (const int who : people)
            message.recipients.push_back(recipientOf(who, RecipientType::Cc));
        return std::move(*this);
    }
    SampleMail with(MailAttachment attachment) && {
        message.attachments.push_back(std::move(attachment));
        return std::move(*this);
    }
    SampleMail html(std::string text) && {
        message.htmlBody = std::move(text);
        return std::move(*this);
    }
    SampleMail importance(Importance level) && {
        message.importance = level;
        return std::move(*this);
    }
    SampleMail marked(std::string letters) && {
        flags = std::move(letters);
        return std::move(*this);
    }
    SampleMail unseen() && {
        flags.clear();
        isNew = true;
        return std::move(*this);
    }
};

SampleMail sampleMail(std::string folder, int from, int to, std::string subject,
                      std::optional<DateTime> sentOn, std::string body) {
    SampleMail mail;
    mail.folder = std::move(folder);
    mail.message = letter(recipientOf(from, RecipientType::To), recipientOf(to, RecipientType::To),
                          std::move(subject), sentOn, std::move(body));
    return mail;
}

SampleMail received(int from, std::string subject, DateTime when, std::string body) {
    return sampleMail("Inbox", from, kMe, std::move(subject), when, std::move(body));
}

SampleMail sent(int to, std::string subject, DateTime when, std::string body) {
    return sampleMail("Sent", kMe, to, std::move(subject), when, std::move(body));
}

// A draft has not been sent: no date, and no Message-ID either.
SampleMail draft(int to, std::string subject, std::string body) {
    return sampleMail("Drafts", kMe, to, std::move(subject), std::nullopt, std::move(body))
        .marked("DS");
}

std::vector<SampleMail> sampleMails() {
    return {
        received(Alice, "Q4 sales figures", at(11, 2, 9, 14),
                 "Hi Morgan,\n\nAttached is the summary of the Q4 sales figures so far. The "
                 "north region is 12% ahead of plan; the south is still behind.\n\nCan we go "
                 "through it on Thursday?\n\nAlice\n")
            .with(pdfFile("Q4-sales-summary.pdf", "Q4 sales summary"))
            .marked("RS"),
        received(Wang, "关于下周的供应商会议", at(11, 3, 10, 2),
                 "Morgan 您好，\n\n下周三上午十点的供应商会议请准时参加。会议将在上海办公室"
                 "举行，也可以通过视频参加。\n\n议程：\n1. 明年的价格\n2. 交货时间\n"
                 "3. 质量问题\n\n王晓明\n")
            .cc({Li})
            .marked("RS"),
        received(Ben, "Build server maintenance on Saturday", at(11, 3, 16, 40),
                 "Morgan,\n\nThe build server will be down on Saturday from 08:00 to 12:00 for "
                 "a disk upgrade. Nightly builds will run again on Sunday.\n\nBen\n"),
        received(Clara, "Shipment LB-2231 delayed", at(11, 4, 8, 5),
                 "Hello Morgan,\n\nShipment LB-2231 is held at the port until Monday because "
                 "of missing customs papers. We have sent them again this morning.\n\n"
                 "Regards,\nClara\n")
            .cc({Daniel})
            .importance(Importance::High),
        received(Grace, "Re: \"Phoenix\" rollout checklist", at(11, 5, 11, 30),
                 "Morgan,\n\nI have marked the two items in the \"Phoenix\" checklist that "
                 "need a signed data processing agreement before go-live.\n\nBest,\nGrace\n")
            .cc({Alice}),
        received(Emma, "Proof for the spring catalogue", at(11, 6, 14, 22),
                 "Hi Morgan,\n\nHere is the second proof of the spring catalogue. Please "
                 "check pages 4 and 9, where the prices changed.\n\nThanks,\nEmma\n")
            .with(pdfFile("catalogue-proof-v2.pdf", "Spring catalogue proof 2"))
            .marked("RS"),
        received(Li, "测试报告已上传", at(11, 9, 9, 48),
                 "Morgan，\n\n第三轮测试报告已经完成，请查看附件。共发现七个问题，其中两个"
                 "比较严重。\n\n谢谢！\n李静\n")
            .with(textFile("测试报告-第三轮.txt",
                           "第三轮测试：共 7 个问题，严重 2 个，一般 5 个。\n")),
        received(Daniel, "Invoice 2026-0117 for October", at(11, 10, 13, 15),
                 "Dear Morgan,\n\nPlease find attached our invoice 2026-0117 for the October "
                 "shipments, due within 30 days.\n\nKind regards,\nDaniel Moreau\nLantern Bay "
                 "Logistics\n")
            .with(pdfFile("invoice-2026-0117.pdf", "Invoice 2026-0117")),
        received(Hiro, "New icons for the dashboard", at(11, 11, 15, 3),
                 "Morgan,\n\nThe new dashboard icons are on the design share. Let me know "
                 "which set you prefer.\n\nHiro\n")
            .cc({Ben})
            .html("<p>Morgan,</p><p>The new <b>dashboard icons</b> are on the design share. "
                  "Let me know which set you prefer.</p><p>Hiro</p>")
            .marked("FS"),
        received(Chen, "年底订单确认", at(11, 12, 10, 20),
                 "Morgan 先生：\n\n我们确认年底的订单数量为 1200 件，请在 12 月 15 日前发货。"
                 "\n\n此致\n陈伟\n虹桥贸易有限公司\n")
            .cc({Zhang})
            .marked("RS"),
        received(Farid, "Paper stock for December", at(11, 13, 9, 0),
                 "Morgan,\n\nWe have enough paper stock for the December print runs; the "
                 "January runs will need a new order by the 10th.\n\nFarid\n"),
        received(Alice, "Grace's notes from Tuesday's review", at(11, 17, 12, 5),
                 "Morgan,\n\nForwarding Grace's notes from Tuesday's review, as promised. The "
                 "licensing question is still open.\n\nAlice\n")
            .cc({Grace}),
        received(Zhang, "发票抬头更改通知", at(11, 18, 14, 30),
                 "您好，\n\n从 2027 年 1 月 1 日起，我公司的发票抬头更改为“虹桥贸易（集团）"
                 "有限公司”，税号不变。\n\n张丽华\n财务部\n")
            .cc({Chen}),
        received(Clara, "Warehouse visit - parking details", at(11, 19, 17, 45),
                 "Hi Morgan,\n\nFor Friday's warehouse visit, the agenda is attached. Park at "
                 "gate B and ask for me at reception.\n\nClara\n")
            .with(textFile("agenda.txt", "10:00 Welcome\n10:15 Tour of the new sorting line\n"
                                         "11:30 Questions\n12:00 Lunch\n")),
        received(Ben, "Code freeze starts 1 December", at(11, 24, 9, 30),
                 "All,\n\nThe code freeze for the year-end release starts on 1 December. Only "
                 "fixes for release blockers after that.\n\nBen\n")
            .cc({Hiro}),
        received(Grace, "Contract renewal: two clauses to review", at(11, 25, 16, 10),
                 "Morgan,\n\nTwo clauses of the renewal need your attention: the liability cap "
                 "and the notice period. My comments are attached.\n\nGrace\n")
            .with(textFile("renewal-clauses.txt", "7.2 Liability cap: propose 2x annual fees.\n"
                                                  "12.1 Notice period: 90 days, not 30.\n"))
            .importance(Importance::High)
            .marked("FS"),
        received(Wang, "样品已寄出 / Samples shipped", at(11, 26, 11, 0),
                 "Morgan，\n\n样品今天已经寄出，快递单号 SF 1234 5678 90。\nThe samples left "
                 "today, tracking number SF 1234 5678 90.\n\n王晓明\n"),
        received(Emma, "Print run confirmed", at(11, 30, 10, 25),
                 "Morgan,\n\nThe print run of 5,000 catalogues is confirmed for 8 December."
                 "\n\nEmma\n")
            .cc({Farid}),
        received(Daniel, "Budget review moved to the 15th", at(12, 1, 8, 50),
                 "Morgan,\n\nThe monthly budget review moves to the 15th this month; same "
                 "room, same time.\n\nDaniel\n")
            .marked(""),
        received(Li, "周五的技术分享", at(12, 2, 13, 40),
                 "大家好，\n\n本周五下午三点有一个技术分享，主题是“数据同步的设计”。欢迎参加！"
                 "\n\n李静\n")
            .cc({Wang})
            .marked(""),
        received(Hiro, "Lunch on Thursday?", at(12, 3, 11, 55),
                 "Morgan, lunch on Thursday at the noodle bar? Ben is coming too.\n\nHiro\n")
            .unseen(),
        received(Alice, "Holiday schedule", at(12, 4, 9, 5),
                 "Hi all,\n\nThe office is closed from 24 December to 2 January. Please add "
                 "your holidays to the team calendar by Friday.\n\nAlice\n")
            .cc({Ben, Hiro})
            .html("<p>Hi all,</p><p>The office is <b>closed from 24 December to 2 "
                  "January</b>. Please add your holidays to the team calendar by Friday.</p>"
                  "<p>Alice</p>")
            .importance(Importance::High)
            .unseen(),
        received(Chen, "新年贺卡设计稿", at(12, 7, 8, 30),
                 "Morgan，\n\n附件是新年贺卡的设计稿，请提出修改意见。\n\n陈伟\n")
            .with(pdfFile("贺卡设计稿.pdf", "New Year card"))
            .unseen(),
        received(Farid, "Quote for the annual report", at(12, 7, 9, 12),
                 "Morgan,\n\nOur quote for printing the annual report is attached; it holds "
                 "until the end of January.\n\nFarid\n")
            .with(pdfFile("quote-HPW-5531.pdf", "Quote HPW-5531"))
            .importance(Importance::Low)
            .unseen(),

        received(Ben, "Phoenix: sprint 14 summary", at(11, 6, 17, 0),
                 "Sprint 14 is done: 23 of 25 stories closed, the carrier import moves to "
                 "sprint 15.\n\nBen\n")
            .cc({Hiro})
            .in("Inbox/Projects"),
        received(Clara, "Phoenix: carrier integration test plan", at(11, 16, 10, 0),
                 "Morgan,\n\nThe test plan for the carrier integration is attached.\n\nClara\n")
            .cc({Ben})
            .with(textFile("test-plan.txt",
                           "1. Import a day of orders\n2. Print labels\n3. Track parcels\n"))
            .in("Inbox/Projects"),
        received(Li, "Phoenix 项目进度更新", at(11, 20, 16, 20),
                 "Morgan，\n\nPhoenix 项目本周完成了数据迁移脚本，下周开始性能测试。\n\n李静\n")
            .cc({Ben})
            .in("Inbox/Projects"),
        received(Hiro, "Phoenix: onboarding screens", at(11, 27, 14, 0),
                 "The onboarding screens are ready for review.\n\nHiro\n")
            .html("<p>The <i>onboarding screens</i> are ready for review.</p><p>Hiro</p>")
            .in("Inbox/Projects"),
        received(Alice, "Phoenix: go-live date", at(12, 4, 15, 30),
                 "Morgan,\n\nCan we agree on 12 January as the go-live date?\n\nAlice\n")
            .cc({Ben, Clara})
            .marked("")
            .in("Inbox/Projects"),

        sent(Alice, "Re: Q4 sales figures", at(11, 2, 11, 2),
             "Alice,\n\nThanks, Thursday at 14:00 works for me.\n\nMorgan\n")
            .cc({Ben}),
        sent(Wang, "Re: 关于下周的供应商会议", at(11, 3, 15, 30),
             "王先生，\n\n谢谢，我会通过视频参加。\n\nMorgan\n"),
        sent(Emma, "Re: Proof for the spring catalogue", at(11, 6, 16, 45),
             "Emma,\n\nPages 4 and 9 look right now. Please go ahead.\n\nMorgan\n"),
        sent(Chen, "Re: 年底订单确认", at(11, 12, 15, 5),
             "陈先生：\n\n收到，我们会在 12 月 12 日前发货。\n\nMorgan\n")
            .cc({Zhang}),
        sent(Grace, "Contract renewal questions", at(11, 26, 9, 40),
             "Grace,\n\nMy questions on the renewal are attached.\n\nMorgan\n")
            .with(textFile("questions.txt",
                           "Can the liability cap be per year rather than per claim?\n")),

        draft(Daniel, "Travel expenses for November",
              "Daniel,\n\nHere are my travel expenses for November:\n"),
        draft(Li, "Re: 周五的技术分享", "李静，\n\n我会参加。能否把幻灯片"),
    };
}

// ---- the sample's calendar, tasks, notes and journal

std::vector<CalendarItem> sampleAppointments() {
    const auto event = [](const char* uid, const char* summary, CalendarTime start,
                          CalendarTime end) {
        return calendarItem(CalendarItemKind::Event, uid, summary, std::move(start),
                            std::move(end));
    };
    std::vector<CalendarItem> items;

    CalendarItem sync = event("sample-event-1", "Team sync", floatingTime(at(11, 2, 9, 30)),
                              floatingTime(at(11, 2, 10, 0)));
    sync.location = "Room 3.04";
    sync.reminderSet = true;
    sync.reminderMinutesBeforeStart = 10;
    Recurrence weekly = repeating(host::olRecursWeekly, kMonday, 0);
    weekly.pattern.NoEndDate = false;
    weekly.pattern.Occurrences = 20;
    weekly.endsAfterCount = true;
    // The office is closed between the holidays.
    weekly.exceptionDates.push_back(floatingTime(at(12, 28, 9, 30)));
    sync.recurrence = weekly;
    items.push_back(std::move(sync));

    CalendarItem budget = event("sample-event-2", "Monthly budget review",
                                floatingTime(at(1, 15, 14, 0)), floatingTime(at(1, 15, 15, 0)));
    budget.description = "Actuals against plan, one department at a time.";
    budget.recurrence = repeating(host::olRecursMonthly, 0, 15);
    items.push_back(std::move(budget));

    CalendarItem offsite =
        event("sample-event-3", "Company offsite", dateOnly(at(12, 10)), dateOnly(at(12, 11)));
    offsite.location = "Lantern Bay conference centre";
    items.push_back(std::move(offsite));

    // Ten in the morning in Shanghai is two in the morning UTC.
    CalendarTime shanghaiStart = floatingTime(at(12, 9, 10, 0));
    shanghaiStart.zone = "Asia/Shanghai";
    shanghaiStart.utc = at(12, 9, 2, 0);
    CalendarTime shanghaiEnd = floatingTime(at(12, 9, 11, 0));
    shanghaiEnd.zone = "Asia/Shanghai";
    shanghaiEnd.utc = at(12, 9, 3, 0);
    CalendarItem supplier =
        event("sample-event-4", "供应商会议 (青松科技)", shanghaiStart, shanghaiEnd);
    supplier.location = "上海办公室 / 视频";
    supplier.description = "议程：明年的价格、交货时间、质量问题。";
    supplier.reminderSet = true;
    items.push_back(std::move(supplier));

    CalendarItem review = event("sample-event-5", "Phoenix go-live review",
                                utcTime(at(12, 14, 15, 0)), utcTime(at(12, 14, 16, 30)));
    review.categories = {"Phoenix"};
    items.push_back(std::move(review));

    CalendarItem lunch = event("sample-event-6", "Lunch with Clara",
                               floatingTime(at(12, 11, 12, 30)), floatingTime(at(12, 11, 13, 30)));
    lunch.location = "The Harbour Kitchen";
    items.push_back(std::move(lunch));

    CalendarItem dentist = event("sample-event-7", "Dentist", floatingTime(at(12, 16, 8, 15)),
                                 floatingTime(at(12, 16, 8, 45)));
    dentist.reminderSet = true;
    dentist.reminderMinutesBeforeStart = 60;
    dentist.categories = {"Personal"};
    items.push_back(std::move(dentist));

    CalendarItem talk = event("sample-event-8", "技术分享：数据同步的设计",
                              floatingTime(at(12, 4, 15, 0)), floatingTime(at(12, 4, 16, 0)));
    talk.location = "大会议室";
    items.push_back(std::move(talk));
    return items;
}

std::vector<CalendarItem> sampleTasks() {
    const auto task = [](const char* uid, const char* summary, const char* description,
                         DateTime start, DateTime due) {
        CalendarItem item = calendarItem(CalendarItemKind::Task, uid, summary, floatingTime(start),
                                         floatingTime(due));
        item.description = description;
        return item;
    };
    std::vector<CalendarItem> items;
    items.push_back(task("sample-task-1", "Review the renewal clauses",
                         "Liability cap and notice period; answer Grace.", at(11, 25, 9),
                         at(12, 9, 17)));
    items.push_back(task("sample-task-2", "Send travel expenses",
                         "November trips to Manchester and Shanghai.", at(12, 1, 9),
                         at(12, 10, 17)));
    items.push_back(task("sample-task-3", "确认新年贺卡设计稿", "回复陈伟的修改意见。",
                         at(12, 7, 9), at(12, 11, 12)));
    CalendarItem plan =
        task("sample-task-4", "Prepare the Phoenix go-live plan",
             "Cut-over steps, rollback, who is on call.", at(12, 4, 9), at(12, 14, 12));
    plan.reminderSet = true;
    plan.categories = {"Phoenix"};
    items.push_back(std::move(plan));
    return items;
}

// Sticky notes have no title of their own: the first line of the text is their subject.
std::vector<CalendarItem> sampleNotes() {
    const auto note = [](const char* uid, const char* text, DateTime created) {
        CalendarItem item =
            calendarItem(CalendarItemKind::Note, uid, "", floatingTime(created), std::nullopt);
        item.description = text;
        return item;
    };
    return {
        note("sample-note-1", "Wi-Fi for visitors\nNetwork: Guest-3F, code changes on Mondays",
             at(11, 2, 8, 45)),
        note("sample-note-2", "Gift ideas\nTea set for Wang Xiaoming's team; book for Alice",
             at(11, 20, 18, 0)),
        note("sample-note-3", "快递单号\nSF 1234 5678 90（样品）", at(11, 26, 11, 5)),
        note("sample-note-4", "Call Daniel back about the invoice", at(12, 7, 10, 0)),
    };
}

std::vector<CalendarItem> sampleJournal() {
    CalendarItem call =
        calendarItem(CalendarItemKind::Note, "sample-journal-1", "Phone call with Grace O'Neill",
                     floatingTime(at(11, 25, 16, 30)), std::nullopt);
    call.description = "Agreed to push back on the liability cap; she drafts the wording.";
    call.categories = {"Phone call"};
    CalendarItem visit =
        calendarItem(CalendarItemKind::Note, "sample-journal-2", "参观青松科技工厂",
                     floatingTime(at(11, 10, 9, 0)), std::nullopt);
    visit.description = "与王晓明和李静一起参观了新的生产线。";
    visit.categories = {"Meeting"};
    return {call, visit};
}

// ---- the benchmark mailbox

struct NamePair {
    const char* text;
    const char* ascii;
};

constexpr NamePair kGivenNames[] = {
    {"Olivia", "olivia"}, {"James", "james"},   {"Amelia", "amelia"}, {"Noah", "noah"},
    {"Isla", "isla"},     {"Oliver", "oliver"}, {"Ava", "ava"},       {"George", "george"},
    {"Mia", "mia"},       {"Arthur", "arthur"}, {"Sofia", "sofia"},   {"Leo", "leo"},
    {"Ruby", "ruby"},     {"Oscar", "oscar"},   {"Freya", "freya"},   {"Henry", "henry"}};
constexpr NamePair kFamilyNames[] = {
    {"Ashdown", "ashdown"},     {"Brennan", "brennan"},     {"Carver", "carver"},
    {"Delaney", "delaney"},     {"Ellison", "ellison"},     {"Fairbairn", "fairbairn"},
    {"Gilchrist", "gilchrist"}, {"Hollis", "hollis"},       {"Iverson", "iverson"},
    {"Jessop", "jessop"},       {"Kettering", "kettering"}, {"Langford", "langford"}};
constexpr NamePair kChineseGivenNames[] = {
    {"建国", "jianguo"}, {"秀英", "xiuying"}, {"志强", "zhiqiang"}, {"美玲", "meiling"},
    {"晨", "chen"},      {"海燕", "haiyan"},  {"子涵", "zihan"},    {"国华", "guohua"}};
constexpr NamePair kChineseFamilyNames[] = {{"王", "wang"},  {"李", "li"},   {"张", "zhang"},
                                            {"刘", "liu"},   {"杨", "yang"}, {"赵", "zhao"},
                                            {"黄", "huang"}, {"周", "zhou"}};
constexpr NamePair kCompanies[] = {
    {"Brightfield Analytics", "brightfield"}, {"Lantern Bay Logistics", "lanternbay"},
    {"Halcyon Print Works", "halcyonprint"},  {"Meridian & Vale Solicitors", "meridianvale"},
    {"Copperleaf Energy", "copperleaf"},      {"Northgate Foods", "northgate-foods"},
    {"青松科技有限公司", "qingsong-tech"},    {"虹桥贸易有限公司", "hongqiao-trading"}};

constexpr const char* kBenchSubjects[] = {"Weekly status",
                                          "Invoice for last month",
                                          "Meeting notes",
                                          "Updated price list",
                                          "Question about the order",
                                          "Travel plans",
                                          "Draft agreement",
                                          "Delivery schedule",
                                          "Team lunch",
                                          "Quarterly figures",
                                          "项目进度",
                                          "会议纪要",
                                          "报价单",
                                          "Customer's feedback",
                                          "\"Urgent\" server alert",
                                          "Holiday cover",
                                          "New starter next week",
                                          "Training materials"};
constexpr const char* kBenchBodies[] = {
    "Please find the latest figures below; the totals are unchanged since Monday.",
    "Could you confirm the delivery date? The customer has asked twice.",
    "Thanks for the quick reply. I have updated the document accordingly.",
    "The meeting moves to Thursday afternoon, same room.",
    "请查看最新的进度，如有问题请告诉我。",
    "Attached are the notes from today's call. Actions are at the end."};
constexpr const char* kBenchPlaces[] = {"Room 1.01", "Room 2.14", "Board room", "Video call",
                                        "大会议室"};
// Most mail sits in the Inbox; Sent and an archive hold a good share, as in a real mailbox.
constexpr const char* kBenchFolders[] = {"Inbox", "Inbox",          "Inbox", "Sent",
                                         "Inbox", "Archive",        "Inbox", "Inbox",
                                         "Inbox", "Inbox/Projects", "Inbox", "Deleted Items"};

template <typename T, std::size_t N> const T& pick(const T (&list)[N], int n) {
    return list[static_cast<std::size_t>(n) % N];
}

// The nth generated person as a contact; one in four has a Chinese name. The number in the
// address keeps every address unique however many people are asked for.
ContactData benchPerson(int n) {
    const bool chinese = n % 4 == 3;
    const NamePair& given = chinese ? pick(kChineseGivenNames, n / 4) : pick(kGivenNames, n);
    const int familyIndex = chinese ? n / 32 : n / static_cast<int>(std::size(kGivenNames));
    const NamePair& family =
        chinese ? pick(kChineseFamilyNames, familyIndex) : pick(kFamilyNames, familyIndex);
    const NamePair& company = pick(kCompanies, n / 3);
    ContactData contact =
        person(given.text, family.text,
               std::string(given.ascii) + "." + family.ascii + std::to_string(n) + "@" +
                   company.ascii + ".example",
               company.text, "", "+44 20 7946 " + std::to_string(1000 + n % 9000), "", "");
    contact.uid = "bench-contact-" + std::to_string(n);
    return contact;
}

// The nth mail: from one of the first senders (who are contacts too), one every five minutes
// going back from December 2026. Every tenth is unread, a few are flagged or have a file.
MailMessage benchMail(int n, int senders) {
    const ContactData other = benchPerson(static_cast<int>((n * 7919L) % senders));
    const bool sent = std::string_view(pick(kBenchFolders, n)) == "Sent";
    const MailRecipient me = recipientOf(kMe, RecipientType::To);
    const MailRecipient them = addressed(other, RecipientType::To);
    const char* prefix = n % 3 == 1 ? "Re: " : n % 7 == 0 ? "Fwd: " : "";
    const std::string subject = prefix + std::string(pick(kBenchSubjects, n / 3));
    MailMessage mail = letter(sent ? me : them, sent ? them : me, subject,
                              makeDate(2026, 12, 7, 18) - std::chrono::minutes(5L * n),
                              "Hello,\n\n" + std::string(pick(kBenchBodies, n)) + "\n\n" +
                                  (sent ? std::string("Morgan") : other.firstName) + "\n");
    if (n % 5 == 0) mail.recipients.push_back(recipientOf(n % 12, RecipientType::Cc));
    mail.messageId = "bench-" + std::to_string(n) + "@velmora-bench.example";
    if (n % 25 == 0)
        mail.attachments.push_back(textFile("notes.txt", "Short notes for the meeting.\n"));
    return mail;
}

CalendarItem benchAppointment(int n) {
    // Spread over 2025 and 2026: one day after another, and a later hour each time round.
    const DateTime start = makeDate(2025, 1, 1, 8 + (n / 730) % 10) + std::chrono::days(n % 730);
    const auto length = std::chrono::minutes(n % 2 == 0 ? 30 : 60);
    CalendarItem item =
        calendarItem(CalendarItemKind::Event, "bench-event-" + std::to_string(n),
                     pick(kBenchSubjects, n), floatingTime(start), floatingTime(start + length));
    item.location = pick(kBenchPlaces, n);
    item.reminderSet = n % 3 == 0;
    if (n % 20 != 0) return item;
    const std::chrono::weekday day{std::chrono::floor<std::chrono::days>(start)};
    Recurrence weekly = repeating(host::olRecursWeekly, 1 << day.c_encoding(), 0);
    weekly.pattern.NoEndDate = false;
    weekly.pattern.Occurrences = 10;
    weekly.endsAfterCount = true;
    item.recurrence = weekly;
    return item;
}

// Where the nth mail lies in its folder: every tenth received mail is one no client has seen
// (new/), the next one is seen but unread, one in thirteen is flagged.
fs::path benchMailFile(const fs::path& folder, int n, const MailMessage& message) {
    const bool received = message.senderAddress != kMyAddress;
    const std::string unique = std::to_string(message.sentOn->time_since_epoch().count()) + ".B" +
                               std::to_string(n) + ".velmora-bench";
    if (received && n % 10 == 0) return folder / "new" / unique;
    const char* flags = received && n % 10 == 1 ? "" : n % 13 == 0 ? "FS" : "S";
    return folder / "cur" / (unique + ":2," + flags);
}

// A benchmark mailbox is written again rather than recovered after a crash, so its mails skip
// the flush that makes Maildir::add safe and slow (half a millisecond a mail on a plain disk).
void writeUnflushed(const fs::path& file, const std::string& bytes) {
    std::ofstream out(file, std::ios::binary | std::ios::trunc);
    out << bytes;
    out.close();
    if (!out) throw MailboxError("cannot write " + file.string() + ": " + std::strerror(errno));
}

} // namespace

void writeSampleMailbox(const fs::path& root) {
    Maildir mail(root / "Mail");
    int number = 0;
    for (SampleMail& sample : sampleMails()) {
        if (sample.message.sentOn)
            sample.message.messageId =
                "sample-" + std::to_string(++number) + "@brightfield.example";
        mail.createFolder(sample.folder);
        mail.add(sample.folder, MailFile::format(sample.message), sample.flags, sample.isNew);
    }
    const fs::path contacts = itemFolder(root, "Contacts");
    for (const ContactData& contact : samplePeople())
        writeContact(contacts, contact);
    const auto writeAll = [&](const char* folder, std::vector<CalendarItem> items) {
        const fs::path dir = itemFolder(root, folder);
        for (CalendarItem& item : items)
            writeCalendarItem(dir, std::move(item));
    };
    writeAll("Calendar", sampleAppointments());
    writeAll("Tasks", sampleTasks());
    writeAll("Notes", sampleNotes());
    writeAll("Journal", sampleJournal());
}

void writeBenchMailbox(const fs::path& root, BenchMailboxSize size) {
    Maildir mail(root / "Mail");
    std::vector<fs::path> folders;
    for (const char* folder : kBenchFolders)
        folders.push_back(mail.createFolder(folder));
    // Senders come from the first contacts, so that looking a sender up finds a card.
    const int senders = size.contacts > 0 ? std::min(size.contacts, 500) : 500;
    for (int n = 0; n < size.mails; ++n) {
        const MailMessage message = benchMail(n, senders);
        const fs::path& folder = folders[static_cast<std::size_t>(n) % folders.size()];
        writeUnflushed(benchMailFile(folder, n, message), MailFile::format(message));
    }
    const fs::path contacts = itemFolder(root, "Contacts");
    for (int n = 0; n < size.contacts; ++n)
        writeContact(contacts, benchPerson(n));
    const fs::path calendar = itemFolder(root, "Calendar");
    for (int n = 0; n < size.appointments; ++n)
        writeCalendarItem(calendar, benchAppointment(n));
}

} // namespace velmora::mailbox
