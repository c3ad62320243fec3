// The group-sharing rules every share dialog follows: which groups are offered and already
// shared, how a confirmation rewrites the share and extension rows, and the touch of the item.
#pragma once

#include "dialogs/common/DialogContext.h"
#include "dialogs/common/FormDesign.h"
#include "platform/controls/ListView.h"

#include <span>
#include <string>

namespace velmora {

// The item kinds a share dialog works on; each names its share and extension tables.
enum class ShareKind { appointment, appointmentFromMail, task, contact };

// The group lists' controls, laid out first by every share dialog: the two labels, the lists
// and OK, with their captions in both languages.
std::span<const ControlDesign> groupListsDesign();

// Fills the left list with the groups the user may share this kind into (level above 2, the
// kind's Modules bit) and the right list with the item's current shares whose group exists.
void fillGroupLists(DialogContext& state, ShareKind kind, const std::string& entryId,
                    controls::ListView& left, controls::ListView& right);

// Rewrites the item's shares from the right list: withdraw all, the extension row when the item
// has a server id, then insert or reactivate each right-list group. mailEntryId is used by the
// mail kind only. Runs as one transaction: on failure nothing stays changed and the error
// reaches the caller, which reports it under its dialog's label.
void applyGroupShares(DialogContext& state, ShareKind kind, const std::string& entryId,
                      const controls::ListView& right, const std::string& mailEntryId = "");

// Re-saves the item (1 appointment, 2 contact, 3 task, 5 note) so that the host marks it
// modified, with the next item event skipped. Errors are cleared without a message.
void touchSharedItem(DialogContext& state, int kind, const std::string& entryId);

} // namespace velmora
