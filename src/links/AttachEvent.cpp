// The appointment link engine. The public operations pass over failures step by step, as item
// events must never be refused; each row write is still all or nothing.
#include "links/AttachEvent.h"

#include "links/PublicModules.h"
#include "platform/ado/Recordset.h"
#include "platform/controls/ListView.h"
#include "platform/text/QuotedText.h"
#include "platform/text/Utf8Text.h"
#include "store/ErrorTrap.h"
#include "store/StoreSession.h"

namespace velmora {

AttachEvent::AttachEvent(StoreContext& state) : state_(state) {}

void AttachEvent::attachEventtoContactForListView(host::Item& eventObj,
                                                  const controls::ListView& listViewObj,
                                                  bool isShare) {
    wholeOperation(state_, [&] {
        std::optional<int> count;
        std::vector<std::string> contacts;
        ignoreErrorsAndUndo(state_, "attachEventtoContact", [&] {
            const auto& rows = listViewObj.ListItems();
            for (int i = 1; i <= rows.Count(); ++i)
                contacts.push_back(rows.Item(i).Key());
            count = rows.Count();
        });
        relinkContacts(eventObj, count, contacts, isShare);
    });
}

void AttachEvent::attachEventtoContact(host::Item& eventObj, bool isShare) {
    wholeOperation(state_, [&] {
        std::optional<int> count;
        std::vector<std::string> contacts;
        ignoreErrorsAndUndo(state_, "attachEventtoContact", [&] {
            host::Links& links = eventObj.Links();
            const int n = links.Count();
            for (int i = 1; i <= n; ++i) {
                // A linked item that is gone or is no contact (a distribution list) is passed over.
                ignoreErrorsAndUndo(state_, "attachEventtoContact", [&] {
                    const host::ItemPtr linked = links.Item(i);
                    if (linked && linked->Class() == host::olContact)
                        contacts.push_back(linked->EntryID());
                });
            }
            count = n;
        });
        relinkContacts(eventObj, count, contacts, isShare);
    });
}

void AttachEvent::relinkContacts(host::Item& appointment, std::optional<int> contactCount,
                                 const std::vector<std::string>& contactEntryIds, bool isShare) {
    // Contacts that could not be counted are not an empty list: the links and history stay.
    if (!contactCount) return;
    std::string key;
    std::string sid;
    ignoreErrorsAndUndo(state_, "attachEventtoContact: the appointment",
                        [&] { key = appointment.EntryID(); });
    ignoreErrorsAndUndo(state_, "attachEventtoContact: " + key,
                        [&] { sid = getServerID(state_, kindAppointment, key); });
    ado::Connection& conn = state_.connection();
    ignoreErrorsAndUndo(state_, "attachEventtoContact", [&] {
        conn.Execute(
            "Update noteTb set MakeDelete=true where OutlookAttachID=" + text::sqlLiteral(key) +
            " and (creator= " + text::sqlLiteral(state_.currentUser) + " or privateAccess=0)");
    });
    if (*contactCount > 0) {
        int written = 0;
        for (const std::string& contact : contactEntryIds)
            if (addEventToNoteTb(appointment, contact, sid, state_.currentUser, isShare)) ++written;
        if (written > 0) AddCalendarHistory(appointment, static_cast<std::int16_t>(written));
    } else {
        ignoreErrorsAndUndo(state_, "attachEventtoContact", [&] {
            conn.Execute("delete from CalendarHistory where taskid=" + text::sqlLiteral(key));
        });
    }
}

bool AttachEvent::addEventToNoteTb(host::Item& appointment, const std::string& contactEntryId,
                                   const std::string& eventServerId, const std::string& loginName,
                                   bool isShared) {
    static constexpr ContactLinkSpelling spelling{
        "addEventToNoteTb :", "select * from noteTb where OutlookAttachID =",
        " and OutlookContactID=", 1, "Subject"};
    return writeContactLinkRow(state_, spelling, appointment, contactEntryId, eventServerId,
                               loginName, isShared);
}

bool AttachEvent::AddCalendarHistory(host::Item& appointment, std::int16_t linkCount) {
    return trappedWrite(state_, "AddCalendarHistory :", [&] {
        const std::string key = appointment.EntryID();
        ado::Recordset rs;
        openHistoryRow(state_, rs, "CalendarHistory", "taskid", key);
        const std::string subject = appointment.Subject();
        if (!subject.empty())
            rs.Fields("eventname") = std::string(text::leadingCharacters(subject, eventNameLength));
        rs.Fields("fromdate") = storeValue(appointment.Get("Start"));
        rs.Fields("untildate") = storeValue(appointment.Get("End"));
        rs.Fields("notime") = appointment.Flag("AllDayEvent");
        const std::string body = appointment.Text("Body");
        if (!body.empty()) rs.Fields("description") = body;
        const bool recurring = appointment.Flag("IsRecurring");
        rs.Fields("isrepeat") = recurring;

        if (recurring) {
            // Columns a pattern type does not use keep what the row held before.
            const host::RecurrencePattern p = appointment.GetRecurrencePattern();
            rs.Fields("noenddate") = p.NoEndDate;
            if (!p.NoEndDate) rs.Fields("recurNum") = p.Occurrences;
            rs.Fields("recurtype") = p.RecurrenceType;
            rs.Fields("re_fromdate") = p.PatternStartDate;
            rs.Fields("re_untildate") = p.PatternEndDate;
            const std::string weekdays = std::to_string(p.DayOfWeekMask);
            switch (p.RecurrenceType) {
            case host::olRecursDaily:
            case host::olRecursWeekly:
                rs.Fields("recurfrequency") = p.Interval;
                rs.Fields("repeatonweekid") = weekdays;
                break;
            case host::olRecursMonthly:
                rs.Fields("recurfrequency") = p.Interval;
                rs.Fields("recurday") = p.DayOfMonth;
                break;
            case host::olRecursMonthNth:
                rs.Fields("recurfrequency") = p.Interval;
                rs.Fields("repeatonweekid") = weekdays;
                rs.Fields("recurweek") = p.Instance;
                break;
            case host::olRecursYearly:
                rs.Fields("recurday") = p.DayOfMonth;
                rs.Fields("recurmonth") = p.MonthOfYear;
                break;
            default:
                rs.Fields("repeatonweekid") = weekdays;
                rs.Fields("recurweek") = p.Instance;
                rs.Fields("recurmonth") = p.MonthOfYear;
                break;
            }
        }

        rs.Fields("isreminder") = appointment.Flag("ReminderSet");
        const std::string categories = appointment.Text("Categories");
        if (!categories.empty()) rs.Fields("category") = categories;
        const std::string location = appointment.Text("Location");
        if (!location.empty()) rs.Fields("locationaddress") = location;
        rs.Fields("counter") = static_cast<int>(linkCount);
        rs.Fields("velmoraid") = getServerID(state_, kindAppointment, key);
        rs.Update();
        rs.Close();
    });
}

} // namespace velmora
