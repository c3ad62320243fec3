// Filling dialog lists and the time combo from the host and the clock.
// Rows go through the picker's AddListRow, so keys stay unique and blank rows are refused.
#include "dialogs/common/ListFillers.h"

#include "dialogs/common/DualListPicker.h"
#include "dialogs/common/RowIcons.h"
#include "links/ItemLookup.h"
#include "links/PublicModules.h"
#include "store/ErrorTrap.h"
#include "store/StoreSession.h"

#include <charconv>
#include <chrono>
#include <cstdio>

namespace velmora {

namespace {

enum class TimeForm { twentyFour, chinese, amPm };

TimeForm timeFormOf(std::string_view timeText) {
    if (timeText.find(' ') == std::string_view::npos) return TimeForm::twentyFour;
    for (const char c : timeText)
        if (c == 'm' || c == 'M') return TimeForm::amPm;
    return TimeForm::chinese;
}

std::string twoDigits(int n) {
    return (n < 10 ? "0" : "") + std::to_string(n);
}

// hour24 is 0..23, minute 0 or 30.
std::string timeEntry(TimeForm form, int hour24, int minute) {
    if (form == TimeForm::twentyFour) return twoDigits(hour24) + ":" + twoDigits(minute);
    const bool morning = hour24 < 12;
    const int hour12 = hour24 % 12 == 0 ? 12 : hour24 % 12;
    const std::string clock = twoDigits(hour12) + ":" + twoDigits(minute);
    if (form == TimeForm::chinese) return (morning ? "上午 " : "下午 ") + clock;
    return clock + (morning ? " am" : " pm");
}

void addTimeEntries(controls::ComboBox& combo, TimeForm form) {
    if (form == TimeForm::twentyFour) {
        for (int hour = 0; hour < 24; ++hour)
            for (const int minute : {0, 30})
                combo.AddItem(timeEntry(form, hour, minute));
        return;
    }
    // Each half of the day runs 1 to 12, as the host's 12-hour lists do.
    for (const bool morning : {true, false})
        for (int hour12 = 1; hour12 <= 12; ++hour12)
            for (const int minute : {0, 30}) {
                const int hour24 = (hour12 % 12) + (morning ? 0 : 12);
                combo.AddItem(timeEntry(form, hour24, minute));
            }
}

// What a list row of a contact or an appointment shows, and where the item lives.
struct FoundRow {
    int icon;
    int itemClass;
    int folderKind;
    const char* text1;
    const char* text2;
};

constexpr FoundRow contactRow{contactIcon, host::olContact, kindContact, "FullName",
                              "Email1Address"};
constexpr FoundRow appointmentRow{eventIcon, host::olAppointment, kindAppointment, "Subject",
                                  "CreationTime"};

void fillFound(StoreContext& state, controls::ListView& list,
               const std::vector<std::string>& entryIds, const std::vector<std::string>& creators,
               const FoundRow& row) {
    const host::FolderPtr folder =
        getDefaultFolder(state, static_cast<std::int16_t>(row.folderKind));
    for (std::size_t i = 0; i < entryIds.size(); ++i) {
        host::ItemPtr item;
        std::string key, text1, text2;
        const bool fetched = ignoreErrors([&] {
            if (!folder) throw host::HostError("no default folder");
            item = state.application().GetNamespace("MAPI").GetItemFromID(entryIds[i],
                                                                          folder->StoreID());
            if (!item || item->Class() != row.itemClass) throw host::HostError("not found");
            key = item->EntryID();
            text1 = item->Text(row.text1);
            text2 = item->Text(row.text2);
        });
        if (!fetched) continue;
        AddListRow(list, row.icon, key, text1, text2, i < creators.size() ? creators[i] : "");
    }
}

} // namespace

std::vector<std::string> listKeyArray(const controls::ListView& list) {
    const int n = list.ListItems().Count();
    std::vector<std::string> keys(static_cast<std::size_t>(n) + 1);
    for (int i = 1; i <= n; ++i)
        keys[static_cast<std::size_t>(i - 1)] = list.ListItems().Item(i).Key();
    return keys;
}

void fillTimeCombo(const StoreContext& state, controls::ComboBox& combo) {
    using namespace std::chrono;
    const host::DateTime now = state.now();
    const auto sinceMidnight = now - floor<days>(now);
    const int hour = static_cast<int>(duration_cast<hours>(sinceMidnight).count());
    const int minute = static_cast<int>(duration_cast<minutes>(sinceMidnight).count() % 60);

    // The list takes the form of the time as the system writes it now.
    const TimeForm form = timeFormOf(state.wallClock().timeText(now, state.isChinese));
    addTimeEntries(combo, form);

    // After 23:30 the next mark is midnight, the list's first entry of the day.
    const int markHour = minute < 30 ? hour : (hour + 1) % 24;
    combo.setText(timeEntry(form, markHour, minute < 30 ? 30 : 0));
}

std::optional<int> timeEntryMinutes(std::string_view entry) {
    enum class Half { none, morning, afternoon } half = Half::none;
    auto cut = [&](std::string_view prefix, std::string_view suffix, Half which) {
        if (prefix.size() && entry.starts_with(prefix))
            entry.remove_prefix(prefix.size());
        else if (suffix.size() && entry.ends_with(suffix))
            entry.remove_suffix(suffix.size());
        else
            return;
        half = which;
    };
    cut("上午 ", " am", Half::morning);
    if (half == Half::none) cut("下午 ", " pm", Half::afternoon);
    int hour = 0, minute = 0;
    const char* end = entry.data() + entry.size();
    auto [colon, e1] = std::from_chars(entry.data(), end, hour);
    if (e1 != std::errc{} || colon == end || *colon != ':' || colon == entry.data()) return {};
    auto [last, e2] = std::from_chars(colon + 1, end, minute);
    if (e2 != std::errc{} || last != end || last - colon != 3 || minute > 59) return {};
    if (half == Half::none) return hour <= 23 ? std::optional(hour * 60 + minute) : std::nullopt;
    if (hour < 1 || hour > 12) return {};
    return (hour % 12 + (half == Half::afternoon ? 12 : 0)) * 60 + minute;
}

void addLinkedRows(StoreContext& state, ado::Recordset& rs, const char* idColumn,
                   const char* serverIdColumn, std::int16_t kind,
                   std::initializer_list<controls::ListView*> lists) {
    const FoundRow& row = kind == kindContact ? contactRow : appointmentRow;
    const host::FolderPtr folder = getDefaultFolder(state, kind);
    const std::string storeId = folder ? folder->StoreID() : std::string();
    auto& ns = state.application().GetNamespace("MAPI");
    for (; !rs.IsEOF(); rs.MoveNext())
        ignoreErrors([&] {
            auto item = ns.GetItemFromID(rs.Fields(idColumn).Value().text(), storeId);
            if (!item || !isInDefaultFolder(state, item, kind)) return;
            const std::string creator =
                creatorOfServerID(state, rs.Fields(serverIdColumn).Value().text());
            for (auto* list : lists)
                AddListRow(*list, row.icon, item->EntryID(), item->Text(row.text1),
                           item->Text(row.text2), creator);
        });
}

void fillFoundAppointments(StoreContext& state, controls::ListView& list,
                           const std::vector<std::string>& entryIds,
                           const std::vector<std::string>& creators) {
    fillFound(state, list, entryIds, creators, appointmentRow);
}

void fillFoundContacts(StoreContext& state, controls::ListView& list,
                       const std::vector<std::string>& entryIds,
                       const std::vector<std::string>& creators) {
    fillFound(state, list, entryIds, creators, contactRow);
}

void removeAllLinks(host::Links& links) {
    for (int n = links.Count(); n > 0; --n)
        ignoreErrors([&] { links.Remove(1); });
}

void linkListedContacts(StoreContext& state, host::Links& links, const controls::ListView& list,
                        const std::string& storeId, bool contactsOnly) {
    auto& ns = state.application().GetNamespace("MAPI");
    // A contact the host cannot link is logged and keeps the dialog from saying "Done!".
    for (const controls::ListItem* row : list.ListItems().rows())
        ignoreErrorsAndUndo(state, "linking a chosen contact in the host", [&] {
            const std::string& key = row->Key();
            if (key.empty() || IsGeneratedRowKey(key)) return;
            auto contact = ns.GetItemFromID(key, storeId);
            if (contact && (!contactsOnly || contact->Class() == host::olContact))
                links.Add(contact);
        });
}

} // namespace velmora
