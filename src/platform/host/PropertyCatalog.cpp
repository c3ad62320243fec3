// The item property table of the in-memory host.
// It is built once and never changes, so every item and every filter can share it.
#include "platform/host/PropertyCatalog.h"

#include "platform/text/AsciiText.h"

namespace velmora::host {

namespace {

constexpr unsigned kMailish = kMail | kPost;
constexpr unsigned kContactOnly = kContact;

} // namespace

const PropertyCatalog& PropertyCatalog::instance() {
    static const PropertyCatalog catalog;
    return catalog;
}

PropertyCatalog::PropertyCatalog() {
    using T = PropType;
    const Variant none;
    const Variant empty = std::string();
    auto add = [&](Prop slot, const char* name, T type, unsigned kinds, bool ro, Variant initial) {
        if (static_cast<std::size_t>(slot) != defs_.size())
            throw HostError(std::string("Property table out of order at ") + name);
        defs_.push_back(PropertyDef{name, type, kinds, ro, std::move(initial)});
    };
    auto text = [&](Prop slot, const char* name, unsigned kinds, bool ro = false) {
        add(slot, name, T::Text, kinds, ro, empty);
    };
    auto number = [&](Prop slot, const char* name, unsigned kinds, long initial = 0,
                      bool ro = false) { add(slot, name, T::Number, kinds, ro, initial); };
    auto flag = [&](Prop slot, const char* name, unsigned kinds, bool ro = false) {
        add(slot, name, T::Flag, kinds, ro, false);
    };
    auto date = [&](Prop slot, const char* name, unsigned kinds, bool ro = false) {
        add(slot, name, T::Date, kinds, ro, none);
    };

    text(pEntryID, "EntryID", kAllKinds, true);
    number(pClass, "Class", kAllKinds, 0, true);
    text(pMessageClass, "MessageClass", kAllKinds, true);
    text(pSubject, "Subject", kAllKinds);
    text(pBody, "Body", kAllKinds);
    text(pHTMLBody, "HTMLBody", kMailish);
    text(pCategories, "Categories", kAllKinds);
    date(pCreationTime, "CreationTime", kAllKinds, true);
    date(pLastModificationTime, "LastModificationTime", kAllKinds, true);
    number(pSize, "Size", kAllKinds, 0, true);
    number(pImportance, "Importance", kAllKinds & ~kNote, olImportanceNormal);
    number(pSensitivity, "Sensitivity", kAllKinds & ~kNote);
    flag(pUnRead, "UnRead", kMailish);
    text(pTo, "To", kMail, true);
    text(pCC, "CC", kMail, true);
    text(pBCC, "BCC", kMail, true);
    flag(pSent, "Sent", kMailish, true);
    date(pSentOn, "SentOn", kMailish, true);
    date(pReceivedTime, "ReceivedTime", kMailish, true);
    text(pSenderName, "SenderName", kMailish);
    text(pSenderEmailAddress, "SenderEmailAddress", kMailish);
    date(pStart, "Start", kAppointment | kJournal);
    date(pEnd, "End", kAppointment | kJournal);
    number(pDuration, "Duration", kAppointment | kJournal);
    flag(pAllDayEvent, "AllDayEvent", kAppointment);
    text(pLocation, "Location", kAppointment);
    flag(pReminderSet, "ReminderSet", kAppointment | kTask);
    number(pReminderMinutesBeforeStart, "ReminderMinutesBeforeStart", kAppointment, 15);
    flag(pIsRecurring, "IsRecurring", kAppointment | kTask, true);
    number(pBusyStatus, "BusyStatus", kAppointment, 2);
    text(pOrganizer, "Organizer", kAppointment);
    text(pFullName, "FullName", kContactOnly);
    text(pFirstName, "FirstName", kContactOnly);
    text(pMiddleName, "MiddleName", kContactOnly);
    text(pLastName, "LastName", kContactOnly);
    text(pFileAs, "FileAs", kContactOnly);
    text(pCompanyName, "CompanyName", kContactOnly);
    text(pDepartment, "Department", kContactOnly);
    text(pJobTitle, "JobTitle", kContactOnly);
    text(pEmail1Address, "Email1Address", kContactOnly);
    text(pEmail2Address, "Email2Address", kContactOnly);
    text(pEmail3Address, "Email3Address", kContactOnly);
    text(pBusinessTelephoneNumber, "BusinessTelephoneNumber", kContactOnly);
    text(pBusiness2TelephoneNumber, "Business2TelephoneNumber", kContactOnly);
    text(pHomeTelephoneNumber, "HomeTelephoneNumber", kContactOnly);
    text(pHome2TelephoneNumber, "Home2TelephoneNumber", kContactOnly);
    text(pMobileTelephoneNumber, "MobileTelephoneNumber", kContactOnly);
    text(pBusinessFaxNumber, "BusinessFaxNumber", kContactOnly);
    for (const char* prefix : {"Business", "Home", "Other"}) {
        const std::string p = prefix;
        const int base = p == "Business" ? pBusinessAddress
                         : p == "Home"   ? pHomeAddress
                                         : pOtherAddress;
        static const char* const parts[] = {"",           "Street",  "City",         "State",
                                            "PostalCode", "Country", "PostOfficeBox"};
        for (int i = 0; i < 7; ++i) {
            const std::string name = p + "Address" + parts[i];
            text(static_cast<Prop>(base + i), name.c_str(), kContactOnly);
        }
    }
    number(pStatus, "Status", kTask);
    date(pDueDate, "DueDate", kTask);
    date(pStartDate, "StartDate", kTask);
    number(pPercentComplete, "PercentComplete", kTask);
    flag(pComplete, "Complete", kTask);
    text(pOwner, "Owner", kTask);
    text(pType, "Type", kJournal);
    if (defs_.size() != pPropCount) throw HostError("Property table incomplete");

    std::size_t size = 1;
    while (size < defs_.size() * 4)
        size *= 2;
    slotsByHash_.assign(size, -1);
    for (std::size_t i = 0; i < defs_.size(); ++i) {
        lowerNames_.push_back(text::lower(defs_[i].name));
        std::size_t at = hashLowered(lowerNames_.back()) & (size - 1);
        while (slotsByHash_[at] >= 0)
            at = (at + 1) & (size - 1);
        slotsByHash_[at] = static_cast<std::int16_t>(i);
    }
}

std::size_t PropertyCatalog::hashLowered(std::string_view name) {
    // Every Get and Set looks a name up: the length and four letters tell the names apart well
    // enough, and a collision costs one more comparison in the table.
    if (name.empty()) return 0;
    const auto at = [name](std::size_t i) {
        return static_cast<std::size_t>(static_cast<unsigned char>(text::lowerChar(name[i])));
    };
    const std::size_t n = name.size();
    return (((n * 31 + at(0)) * 31 + at(n / 2)) * 31 + at(n - 1)) * 31 + at(n / 3);
}

int PropertyCatalog::find(std::string_view name) const {
    // Names come trimmed nearly always; only those that are not pay for the trim.
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    const std::string_view trimmed =
        !name.empty() && (blank(name.front()) || blank(name.back())) ? text::trim(name) : name;
    const std::size_t mask = slotsByHash_.size() - 1;
    for (std::size_t at = hashLowered(trimmed) & mask; slotsByHash_[at] >= 0;
         at = (at + 1) & mask) {
        const int slot = slotsByHash_[at];
        if (text::equalsLowered(trimmed, lowerNames_[static_cast<std::size_t>(slot)])) return slot;
    }
    return -1;
}

} // namespace velmora::host
