// What of a host item each kind of file holds. Fields a file has no place for are left as the
// item holds them, so the index beside the files keeps them.
#include "platform/mailbox/ItemMapping.h"

#include "platform/host/InMemoryItem.h"
#include "platform/host/ItemCollections.h"
#include "platform/host/PropertyCatalog.h"
#include "platform/text/AsciiText.h"

#include <ctime>

namespace velmora::mailbox {

namespace {

using namespace velmora::host;
using std::chrono::system_clock;

const std::string& textOf(const InMemoryItem& item, int slot) {
    static const std::string none;
    const auto* s = std::get_if<std::string>(&item.field(slot));
    return s ? *s : none;
}

std::optional<DateTime> dateOf(const InMemoryItem& item, int slot) {
    const auto* d = std::get_if<DateTime>(&item.field(slot));
    return d ? std::optional<DateTime>(*d) : std::nullopt;
}

std::string joinCategories(const std::vector<std::string>& categories) {
    std::string out;
    for (const auto& c : categories) {
        if (!out.empty()) out += ", ";
        out += c;
    }
    return out;
}

std::vector<std::string> splitCategories(std::string_view text) {
    std::vector<std::string> out;
    std::size_t from = 0;
    while (from <= text.size()) {
        const auto end = text.find_first_of(",;", from);
        const auto part = text::trim(
            text.substr(from, end == std::string_view::npos ? std::string_view::npos : end - from));
        if (!part.empty()) out.emplace_back(part);
        if (end == std::string_view::npos) break;
        from = end + 1;
    }
    return out;
}

DateTime timeOf(const CalendarTime& t) {
    return t.utc ? localTime(system_clock::time_point(*t.utc)) : t.local;
}

// The time as the file had it when the host still holds the same moment; else a new one.
CalendarTime calendarTime(DateTime local, bool dateOnly, const std::optional<CalendarTime>& was) {
    if (was && was->dateOnly == dateOnly && timeOf(*was) == local) return *was;
    CalendarTime t;
    t.local = local;
    t.dateOnly = dateOnly;
    return t;
}

struct PhoneSlot {
    int slot;
    const char* type;
};
// The order a card's numbers are read into the host's: first work number, second work number...
constexpr PhoneSlot kPhones[] = {
    {pBusinessTelephoneNumber, "work"}, {pBusiness2TelephoneNumber, "work"},
    {pHomeTelephoneNumber, "home"},     {pHome2TelephoneNumber, "home"},
    {pMobileTelephoneNumber, "cell"},   {pBusinessFaxNumber, "fax"},
};

int phoneSlotFor(const CardValue& phone, const InMemoryItem& item) {
    const std::string type = text::lower(phone.type);
    const char* kind = type.find("fax") != std::string::npos    ? "fax"
                       : type.find("cell") != std::string::npos ? "cell"
                       : type.find("home") != std::string::npos ? "home"
                                                                : "work";
    for (const auto& p : kPhones)
        if (std::string_view(p.type) == kind && textOf(item, p.slot).empty()) return p.slot;
    return -1;
}

} // namespace

DateTime localTime(system_clock::time_point instant) {
    const std::time_t t = system_clock::to_time_t(instant);
    std::tm tm{};
    localtime_r(&t, &tm);
    const auto days =
        std::chrono::sys_days{std::chrono::year{tm.tm_year + 1900} /
                              std::chrono::month{static_cast<unsigned>(tm.tm_mon + 1)} /
                              std::chrono::day{static_cast<unsigned>(tm.tm_mday)}};
    return DateTime{days} + std::chrono::hours{tm.tm_hour} + std::chrono::minutes{tm.tm_min} +
           std::chrono::seconds{tm.tm_sec};
}

system_clock::time_point instantOf(DateTime local) {
    const auto days = std::chrono::floor<std::chrono::days>(local);
    const std::chrono::year_month_day ymd{days};
    const std::chrono::hh_mm_ss hms{local - days};
    std::tm tm{};
    tm.tm_year = static_cast<int>(ymd.year()) - 1900;
    tm.tm_mon = static_cast<int>(static_cast<unsigned>(ymd.month())) - 1;
    tm.tm_mday = static_cast<int>(static_cast<unsigned>(ymd.day()));
    tm.tm_hour = static_cast<int>(hms.hours().count());
    tm.tm_min = static_cast<int>(hms.minutes().count());
    tm.tm_sec = static_cast<int>(hms.seconds().count());
    tm.tm_isdst = -1;
    return system_clock::from_time_t(std::mktime(&tm));
}

void mailIntoItem(const MailMessage& mail, std::string_view flags, bool withContent,
                  InMemoryItem& item) {
    item.put(pSubject, mail.subject);
    item.put(pSenderName, mail.senderName);
    item.put(pSenderEmailAddress, mail.senderAddress);
    std::vector<Recipient> recipients;
    for (const auto& r : mail.recipients)
        recipients.push_back(Recipient{r.name, r.address, static_cast<int>(r.type)});
    item.recipientList()->restore(std::move(recipients));
    item.recipientsChanged();
    const bool draft = flags.find('D') != std::string_view::npos;
    item.put(pSent, !draft && mail.sentOn.has_value());
    if (mail.sentOn) {
        const DateTime when = localTime(*mail.sentOn);
        item.put(pSentOn, when);
        item.put(pReceivedTime, when);
        item.put(pCreationTime, when);
        item.put(pLastModificationTime, when);
    }
    item.put(pImportance, static_cast<long>(mail.importance));
    item.put(pUnRead, !draft && flags.find('S') == std::string_view::npos);
    if (withContent)
        mailContentIntoItem(mail, item);
    else
        item.markPartial();
}

void mailContentIntoItem(const MailMessage& mail, InMemoryItem& item) {
    item.put(pBody, mail.body);
    item.put(pHTMLBody, mail.htmlBody);
    std::vector<std::shared_ptr<InMemoryAttachment>> attachments;
    for (const auto& a : mail.attachments)
        attachments.push_back(std::make_shared<InMemoryAttachment>(
            item.core(), a.displayName.empty() ? "attachment" : a.displayName, a.content,
            static_cast<int>(attachments.size()) + 1));
    item.attachmentList()->restore(std::move(attachments));
}

MailMessage mailOfItem(const InMemoryItem& item) {
    MailMessage mail;
    mail.subject = textOf(item, pSubject);
    mail.senderName = textOf(item, pSenderName);
    mail.senderAddress = textOf(item, pSenderEmailAddress);
    for (const Recipient& r : item.recipientList()->all())
        if (r.Type >= olTo && r.Type <= olBCC)
            // A recipient typed as a bare address has that address for a name too.
            mail.recipients.push_back(MailRecipient{r.Name == r.Address ? std::string() : r.Name,
                                                    r.Address, static_cast<RecipientType>(r.Type)});
    if (std::get<bool>(item.field(pSent)))
        if (const auto sent = dateOf(item, pSentOn)) mail.sentOn = instantOf(*sent);
    mail.importance = static_cast<Importance>(std::get<long>(item.field(pImportance)));
    mail.body = textOf(item, pBody);
    mail.htmlBody = textOf(item, pHTMLBody);
    for (const auto& a : item.attachmentList()->all())
        mail.attachments.push_back(
            MailAttachment{a->FileName(), "application/octet-stream", a->content()});
    return mail;
}

std::string mailFlagsOf(const InMemoryItem& item) {
    // Maildir wants the letters in ASCII order.
    std::string flags;
    if (!std::get<bool>(item.field(pSent)) && item.itemType() == olMailItem) flags += 'D';
    if (!std::get<bool>(item.field(pUnRead))) flags += 'S';
    return flags;
}

int itemTypeOfCalendar(CalendarItemKind kind, int folderItemType) {
    switch (kind) {
    case CalendarItemKind::Event:
        return olAppointmentItem;
    case CalendarItemKind::Task:
        return olTaskItem;
    case CalendarItemKind::Note:
        return folderItemType == olNoteItem ? olNoteItem : olJournalItem;
    }
    return olAppointmentItem;
}

void calendarIntoItem(const CalendarItem& entry, InMemoryItem& item) {
    const int type = item.itemType();
    if (type == olNoteItem) {
        // A note's subject is its body's first line.
        item.put(pBody, entry.description.empty() ? entry.summary : entry.description);
        const std::string& body = textOf(item, pBody);
        item.put(pSubject, body.substr(0, body.find_first_of("\r\n")));
    } else {
        item.put(pSubject, entry.summary);
        item.put(pBody, entry.description);
    }
    item.put(pCategories, joinCategories(entry.categories));
    const std::optional<DateTime> start =
        entry.start ? std::optional<DateTime>(timeOf(*entry.start)) : std::nullopt;
    const std::optional<DateTime> end =
        entry.end ? std::optional<DateTime>(timeOf(*entry.end)) : std::nullopt;
    if (type == olTaskItem) {
        if (start) item.put(pStartDate, *start);
        if (end) item.put(pDueDate, *end);
    } else if (type == olAppointmentItem || type == olJournalItem) {
        if (start) {
            item.put(pStart, *start);
            item.put(pEnd, end && *end >= *start ? *end : *start);
            const auto length = std::get<DateTime>(item.field(pEnd)) - *start;
            item.put(pDuration,
                     static_cast<long>(
                         std::chrono::duration_cast<std::chrono::minutes>(length).count()));
        }
        if (type == olAppointmentItem) {
            item.put(pLocation, entry.location);
            item.put(pAllDayEvent, entry.allDayEvent());
        }
    }
    if (type == olAppointmentItem || type == olTaskItem) {
        item.put(pReminderSet, entry.reminderSet);
        item.put(pReminderMinutesBeforeStart, static_cast<long>(entry.reminderMinutesBeforeStart));
        item.restorePattern(entry.recurrence ? std::optional(entry.recurrence->pattern)
                                             : std::nullopt);
    }
}

void calendarOfItem(const InMemoryItem& item, CalendarItem& entry) {
    const int type = item.itemType();
    entry.kind = type == olAppointmentItem ? CalendarItemKind::Event
                 : type == olTaskItem      ? CalendarItemKind::Task
                                           : CalendarItemKind::Note;
    entry.summary = textOf(item, pSubject);
    entry.description = textOf(item, pBody);
    entry.categories = splitCategories(textOf(item, pCategories));
    const bool allDay = type == olAppointmentItem && std::get<bool>(item.field(pAllDayEvent));
    const int startSlot = type == olTaskItem ? pStartDate : pStart;
    const int endSlot = type == olTaskItem ? pDueDate : pEnd;
    if (const auto start = dateOf(item, startSlot); start && type != olNoteItem)
        entry.start = calendarTime(*start, allDay, entry.start);
    if (const auto end = dateOf(item, endSlot); end && type != olNoteItem && type != olJournalItem)
        entry.end = calendarTime(*end, allDay, entry.end);
    if (type == olAppointmentItem) entry.location = textOf(item, pLocation);
    if (type != olAppointmentItem && type != olTaskItem) return;
    entry.reminderSet = std::get<bool>(item.field(pReminderSet));
    entry.reminderMinutesBeforeStart =
        static_cast<int>(std::get<long>(item.field(pReminderMinutesBeforeStart)));
    const auto& pattern = item.pattern();
    if (!pattern) {
        entry.recurrence.reset();
        return;
    }
    const auto samePattern = [](const RecurrencePattern& a, const RecurrencePattern& b) {
        return a.RecurrenceType == b.RecurrenceType && a.Interval == b.Interval &&
               a.DayOfWeekMask == b.DayOfWeekMask && a.DayOfMonth == b.DayOfMonth &&
               a.Instance == b.Instance && a.MonthOfYear == b.MonthOfYear &&
               a.NoEndDate == b.NoEndDate && a.Occurrences == b.Occurrences &&
               a.PatternStartDate == b.PatternStartDate && a.PatternEndDate == b.PatternEndDate;
    };
    // A rule the host did not change is written as it was read, with what it could not hold.
    if (entry.recurrence && samePattern(entry.recurrence->pattern, *pattern)) return;
    Recurrence rule;
    rule.pattern = *pattern;
    rule.endsAfterCount = !pattern->NoEndDate && pattern->Occurrences > 0;
    entry.recurrence = rule;
}

void contactIntoItem(const ContactData& card, InMemoryItem& item) {
    item.put(pFirstName, card.firstName);
    item.put(pMiddleName, card.middleName);
    item.put(pLastName, card.lastName);
    std::string full = card.fullName;
    if (full.empty())
        for (const auto* part : {&card.firstName, &card.middleName, &card.lastName})
            if (!part->empty()) full += (full.empty() ? "" : " ") + *part;
    item.put(pFullName, full);
    for (int n = 0; n < 3; ++n)
        item.put(pEmail1Address + n, card.emailAddress(static_cast<std::size_t>(n) + 1));
    for (const auto& p : kPhones)
        item.put(p.slot, std::string());
    for (const auto& phone : card.phones)
        if (const int slot = phoneSlotFor(phone, item); slot >= 0) item.put(slot, phone.value);
    item.put(pCompanyName, card.companyName);
    item.put(pDepartment, card.department);
    item.put(pBody, card.note);
    item.put(pCategories, joinCategories(card.categories));
    // "Last, First" unless the user filed the contact otherwise; the card has no place for it.
    if ((item.explicitDerived() & InMemoryItem::explicitFileAs) == 0) {
        std::string fileAs = card.lastName;
        if (!card.firstName.empty()) fileAs += (fileAs.empty() ? "" : ", ") + card.firstName;
        item.put(pFileAs, fileAs.empty() ? card.companyName : fileAs);
    }
}

void contactOfItem(const InMemoryItem& item, ContactData& card) {
    card.fullName = textOf(item, pFullName);
    card.firstName = textOf(item, pFirstName);
    card.middleName = textOf(item, pMiddleName);
    card.lastName = textOf(item, pLastName);
    std::vector<CardValue> emails;
    for (int n = 0; n < 3; ++n) {
        const std::string& address = textOf(item, pEmail1Address + n);
        if (address.empty()) continue;
        const auto at = static_cast<std::size_t>(n);
        emails.push_back(
            CardValue{address, at < card.emails.size() ? card.emails[at].type : std::string()});
    }
    card.emails = std::move(emails);
    std::vector<CardValue> phones;
    for (const auto& p : kPhones)
        if (const std::string& number = textOf(item, p.slot); !number.empty())
            phones.push_back(CardValue{number, p.type});
    card.phones = std::move(phones);
    card.companyName = textOf(item, pCompanyName);
    card.department = textOf(item, pDepartment);
    card.note = textOf(item, pBody);
    card.categories = splitCategories(textOf(item, pCategories));
}

} // namespace velmora::mailbox
