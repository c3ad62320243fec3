// Filling dialog lists from the host and back: the key array of a list view, the half-hour time
// combo, the result lists of the searches, and an item's Outlook links from a list's rows.
#pragma once

#include "platform/ado/Recordset.h"
#include "platform/controls/ComboBox.h"
#include "platform/controls/ListView.h"
#include "store/StoreContext.h"

#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

// The list's keys in row order followed by one empty element: n rows give n + 1 elements, and
// readers stop before the last one.
std::vector<std::string> listKeyArray(const controls::ListView& list);

// Adds the 48 half-hour entries in the form of the system's time text, the clock's current
// time in its time format (24-hour without a blank; 上午/下午 with a blank and no "m"; am/pm
// otherwise), and shows the next half-hour mark.
void fillTimeCombo(const StoreContext& state, controls::ComboBox& combo);

// Minutes after midnight of a time entry in any of fillTimeCombo's forms ("14:30",
// "下午 02:30", "02:30 pm"); empty for any other text.
std::optional<int> timeEntryMinutes(std::string_view entry);

// Adds the item each remaining row of a link query names (entry ID in idColumn) to every list,
// when it is still in its default folder: a contact (kind 2) as name, address and creator, an
// appointment (kind 1) as subject, creation time and creator, the creator taken from the
// server id in serverIdColumn. Rows whose item cannot be opened are skipped.
void addLinkedRows(StoreContext& state, ado::Recordset& rs, const char* idColumn,
                   const char* serverIdColumn, std::int16_t kind,
                   std::initializer_list<controls::ListView*> lists);

// Adds one row per appointment of the default calendar (icon 3: subject, creation time, creator)
// or contact of the default contacts folder (icon 2: full name, first address, creator).
// creators runs parallel to entryIds; entries the host cannot hand out are skipped.
void fillFoundAppointments(StoreContext& state, controls::ListView& list,
                           const std::vector<std::string>& entryIds,
                           const std::vector<std::string>& creators);
void fillFoundContacts(StoreContext& state, controls::ListView& list,
                       const std::vector<std::string>& entryIds,
                       const std::vector<std::string>& creators);

// Removes every Outlook link of an item (always the first, as many times as there were links),
// each failure ignored.
void removeAllLinks(host::Links& links);

// Links an item to the contacts a list's rows name, opened in the store storeId; rows with a
// generated key name none, and a row whose item cannot be opened is passed over. contactsOnly
// also passes over an item of another kind.
void linkListedContacts(StoreContext& state, host::Links& links, const controls::ListView& list,
                        const std::string& storeId, bool contactsOnly = false);

} // namespace velmora
