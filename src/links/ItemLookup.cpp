// Finding and opening contacts and appointments in the host through filters and entry IDs.
// Filter texts keep the host's own spellings; every value goes through text::filterLiteral.
#include "links/ItemLookup.h"

#include "links/PublicModules.h"
#include "platform/ado/Recordset.h"
#include "platform/clock/CalendarText.h"
#include "platform/text/AsciiText.h"
#include "platform/text/QuotedText.h"
#include "store/ErrorTrap.h"
#include "store/StoreSession.h"
#include "store/TrimBlanks.h"

#include <chrono>

namespace velmora {

namespace {

host::NameSpace& mapiNamespace(StoreContext& state) {
    return state.application().GetNamespace("MAPI");
}

host::FolderPtr requireDefaultFolder(StoreContext& state, int folderType) {
    auto folder = mapiNamespace(state).GetDefaultFolder(folderType);
    if (!folder)
        throw host::HostError("The mail host has no default folder " + std::to_string(folderType));
    return folder;
}

// The hour around the start, so a moved copy with the same subject is told apart by its ID;
// the upper bound of a start in the last hour of the day falls on the next day's midnight.
std::string appointmentFilter(const host::Item& appointment) {
    using namespace std::chrono;
    const host::DateTime start = appointment.Date("Start");
    const sys_days day = floor<days>(start);
    const int hour = static_cast<int>(duration_cast<hours>(start - day).count());
    const std::string lowHour = hour == 0 ? "00" : std::to_string(hour - 1);
    const bool lastHour = hour + 1 == 24;
    const std::string highHour = lastHour ? "00" : std::to_string(hour + 1);
    const std::string low = timekeeping::filterDayText(host::DateTime{day}) + " " + lowHour + ":00";
    const std::string high =
        timekeeping::filterDayText(host::DateTime{lastHour ? day + days{1} : day}) + " " +
        highHour + ":00";
    return "[Subject]=" + text::filterLiteral(appointment.Subject()) +
           " and ([start]>=" + text::filterLiteral(low) +
           " and [start]<=" + text::filterLiteral(high) + ")";
}

std::string contactFilter(const host::Item& contact) {
    return "[Fullname] = " + text::filterLiteral(contact.Text("FullName")) +
           " and [companyName] = " + text::filterLiteral(contact.Text("CompanyName")) +
           " and [Department] = " + text::filterLiteral(contact.Text("Department")) +
           " and [Email1address] = " + text::filterLiteral(contact.Text("Email1Address")) +
           " and [Email2address] = " + text::filterLiteral(contact.Text("Email2Address")) +
           " and [Email3address] = " + text::filterLiteral(contact.Text("Email3Address"));
}

std::string anyAddressFilter(const std::string& quotedAddress) {
    return "[Email1address] = " + quotedAddress + " Or [Email2address] = " + quotedAddress +
           "  Or [Email3address] = " + quotedAddress;
}

} // namespace

host::ItemPtr findContactByMail(StoreContext& state, const std::string& fullName,
                                const std::string& address) {
    host::ItemPtr result;
    errorTrap(state, "error", [&] {
        auto items = requireDefaultFolder(state, host::olFolderContacts)->Items();
        const std::string name = trimBlanks(fullName);
        const std::string mail = trimBlanks(address);
        const std::string quotedName = text::filterLiteral(name);
        const std::string quotedMail = text::filterLiteral(mail);

        result = preferOwnContact(state,
                                  items->Find("[Fullname] = " + quotedName + " and (" +
                                              anyAddressFilter(quotedMail) + ")"),
                                  *items);
        if (!name.empty() && !result) {
            auto found = items->Find("[Fullname] = " + quotedName +
                                     " and [Email1address] = " + text::filterLiteral(""));
            if (found) {
                result = preferOwnContact(state, std::move(found), *items);
                // The caller saves the contact once the user confirms it.
                result->Set("Email1Address", mail);
            }
        }
        if (!result && !mail.empty())
            result = preferOwnContact(state, items->Find(anyAddressFilter(quotedMail)), *items);
    });
    return result;
}

host::ItemPtr preferOwnContact(StoreContext& state, host::ItemPtr found, host::Items& items) {
    host::ItemPtr result;
    const std::string me = text::lower(state.currentUser);
    for (host::ItemPtr item = std::move(found); item; item = items.FindNext()) {
        ado::Recordset rs;
        rs.Open("select velmoraid from ContactsID where outlookid='" +
                    ado::sqlText(item->EntryID()) + "'",
                state.connection());
        if (!rs.IsEOF() &&
            text::lower(serverIdCreator(rs.Fields("velmoraid").Value().text())) == me)
            return item;
        result = item;
    }
    return result;
}

bool isInDefaultFolder(StoreContext& state, const host::ItemPtr& item, std::int16_t kind) {
    if (!item || (kind != kindAppointment && kind != kindContact)) return false;
    bool found = false;
    errorTrap(state, "LabelFindObject: ", [&] {
        const bool appointment = kind == kindAppointment;
        const std::string filter = appointment ? appointmentFilter(*item) : contactFilter(*item);
        auto items = requireDefaultFolder(state, appointment ? host::olFolderCalendar
                                                             : host::olFolderContacts)
                         ->Items();
        const std::string entryId = item->EntryID();
        for (host::ItemPtr match = items->Find(filter); match; match = items->FindNext()) {
            if (match->EntryID() == entryId) {
                found = true;
                return;
            }
        }
    });
    return found;
}

bool appointmentSubjectExists(StoreContext& state, const std::string& subject) {
    auto items = requireDefaultFolder(state, host::olFolderCalendar)->Items();
    return items->Find("[subject] = " + text::filterLiteral(subject)) != nullptr;
}

host::FolderPtr getDefaultFolder(StoreContext& state, std::int16_t kind) {
    host::FolderPtr folder;
    if (kind != kindAppointment && kind != kindContact) return folder;
    ignoreErrors([&] {
        folder = mapiNamespace(state).GetDefaultFolder(
            kind == kindContact ? host::olFolderContacts : host::olFolderCalendar);
    });
    return folder;
}

void showItem(StoreContext& state, const std::string& entryId, std::int16_t kind) {
    ignoreErrors([&] {
        const host::FolderPtr folder = getDefaultFolder(state, kind);
        if (!folder) return;
        const host::ItemPtr item = mapiNamespace(state).GetItemFromID(entryId, folder->StoreID());
        const int wanted = kind == kindContact ? host::olContact : host::olAppointment;
        if (item && item->Class() == wanted) item->Display();
    });
}

void executeSendReceive(StoreContext& state) {
    auto explorer = state.application().ActiveExplorer();
    if (!explorer) return;
    auto tools =
        explorer->CommandBars().Item("Menu bar").FindControl(host::msoControlPopup, idToolsMenu);
    if (!tools) return;
    auto& entries = tools->Controls();
    const int count = entries.Count();
    for (int i = 1; i <= count; ++i) {
        auto entry = entries.Item(i);
        if (entry->Type() == host::msoControlButton && entry->Id() == idSendReceive) {
            entry->Execute();
            return;
        }
    }
}

} // namespace velmora
