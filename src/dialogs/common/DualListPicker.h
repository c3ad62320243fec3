// The dual list picker's row operations (add, generate a key, copy, remove, sort, Escape) and
// the logic of its four move buttons, shared by every attach, share and search dialog.
#pragma once

#include "platform/controls/Form.h"
#include "platform/controls/ListView.h"
#include "platform/host/Events.h"

#include <string>
#include <string_view>

namespace velmora {

// Generated keys are this marker followed by a decimal counter.
inline constexpr std::string_view generatedKeyMarker = "9999999999999999999";

// Adds a row with an empty main text and text1..text3 (trimmed) as its columns. A blank row
// (text1 and text2 both blank) is refused. Key "-1" asks for a generated key and refuses a row
// whose text1 and text2 equal an existing row's, ignoring case and surrounding blanks; a real
// key is never compared by texts but is refused when the list already holds it. Returns
// whether a row was added; any list failure other than a refused key propagates.
bool AddListRow(controls::ListView& list, int icon, const std::string& key,
                const std::string& text1, const std::string& text2, const std::string& text3);

// A new generated key for the list: the marker followed by one more than the number of rows
// that hold a generated key. When rows were removed that number can already be taken; the
// counter then steps on to the first number no row holds, so the key is always new to the list
// and the procedure keeps no state of its own.
std::string GenerateRowKey(const controls::ListView* list);

// True for "-1" and for keys containing the marker (case ignored).
bool IsGeneratedRowKey(std::string_view key);

// Copies text 1..3 and the key of the source row at the 1-based index into the target list
// through AddListRow, with the icon. Returns whether the target gained a row.
bool CopyListRow(const controls::ListView& source, controls::ListView& target, int icon, int index);

// Removes the row at the 1-based index when the index is not beyond the last row.
void RemoveListRowAt(controls::ListView& list, int index);

// Sorts by the clicked 1-based column and toggles the order. A list not yet sorted counts as
// sorted descending, so that its first click sorts ascending; from then on every click turns
// the order over, whichever column is clicked.
void SortListByColumn(controls::ListView& list, int column);

// Unloads the form, exactly as its close button does, when the key is Escape.
void CloseOnEscape(int keyCode, controls::Form& form);

// The share-dialog variant: two texts; refuses a row whose trimmed texts equal an existing
// row's (case ignored) or whose key a row already holds; "-1" gets a generated key.
bool AddShareListRow(controls::ListView& list, int icon, const std::string& key,
                     const std::string& text1, const std::string& text2);

// Copies text 1, text 2 and the key of the source row at the index through AddShareListRow.
bool CopyShareListRow(const controls::ListView& source, controls::ListView& target, int icon,
                      int index);

// Routes Escape pressed anywhere on the form, the form itself included, to CloseOnEscape:
// switches key preview on and listens to the form's KeyDown.
[[nodiscard]] host::Subscription closeOnEscapeFromAnyControl(controls::Form& form);

// How one move button fared. ran: the button acted: copy selected whenever the left list has a
// current row (even when equal counts then copy nothing), copy all when the left list has rows
// and the two lists do not hold as many, the remove buttons when there is a row to remove;
// changed: the right list gained or lost rows.
struct MoveResult {
    bool ran = false;
    bool changed = false;
};

// The row copy a pair uses: CopyListRow in the attach dialogs, CopyShareListRow in the share
// dialogs.
using RowCopy = bool (*)(const controls::ListView& source, controls::ListView& target, int icon,
                         int index);

// Button 1: copies the left list's current row, unless both lists hold as many rows.
MoveResult copySelectedRow(const controls::ListView& left, controls::ListView& right, int icon,
                           RowCopy copy = CopyListRow);
// Button 2: copies every left row, first to last; refused (not run) when both lists hold as
// many rows.
MoveResult copyAllRows(const controls::ListView& left, controls::ListView& right, int icon,
                       RowCopy copy = CopyListRow);
// Button 3: empties the right list.
MoveResult removeAllRows(controls::ListView& right);
// Button 4: removes the right list's current row.
MoveResult removeSelectedRow(controls::ListView& right);

} // namespace velmora
