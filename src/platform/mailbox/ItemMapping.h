// What of a host item each kind of file holds, both ways: a mail's headers and parts, an
// event's, task's or note's iCalendar properties, a contact's vCard properties.
#pragma once

#include "platform/mailbox/CalendarFile.h"
#include "platform/mailbox/ContactCard.h"
#include "platform/mailbox/MailMessage.h"

#include <chrono>
#include <string_view>

namespace velmora::host {
class InMemoryItem;
}

namespace velmora::mailbox {

// The host's times are the local wall clock; files hold instants. Both use the process's zone.
host::DateTime localTime(std::chrono::system_clock::time_point instant);
std::chrono::system_clock::time_point instantOf(host::DateTime local);

// withContent: the bodies and attachments were read too (else the item stays partial).
// flags: the Maildir flags; "D" marks a draft, "S" a mail that was read.
void mailIntoItem(const MailMessage& mail, std::string_view flags, bool withContent,
                  host::InMemoryItem& item);
// A mail's bodies and attachments, read later.
void mailContentIntoItem(const MailMessage& mail, host::InMemoryItem& item);
MailMessage mailOfItem(const host::InMemoryItem& item);
// The Maildir flags a kept mail carries.
std::string mailFlagsOf(const host::InMemoryItem& item);

// The host item kind an iCalendar component is read as: an event is an appointment, a task a
// task; a journal entry is a note in a notes folder and a journal item elsewhere.
int itemTypeOfCalendar(CalendarItemKind kind, int folderItemType);
void calendarIntoItem(const CalendarItem& entry, host::InMemoryItem& item);
// Writes the item's values over the entry as it was read, so what the host does not know of
// (other properties, a rule the pattern cannot hold, the time zone of an unchanged time) stays.
void calendarOfItem(const host::InMemoryItem& item, CalendarItem& entry);

void contactIntoItem(const ContactData& card, host::InMemoryItem& item);
void contactOfItem(const host::InMemoryItem& item, ContactData& card);

} // namespace velmora::mailbox
