// Finding and opening the user's contacts and appointments in the host: by mail address, by the
// identifying properties of an item in its default folder, by subject, and by entry ID.
#pragma once

#include "store/StoreContext.h"

#include <cstdint>
#include <string>

namespace velmora {

// The user's contact with this name and address: first one that matches name and any address,
// then one of that name without a first address (given the address, unsaved), then any with
// the address; among several matches the current user's own. Null when none; a failure is
// reported as "error" + description and what was found so far is returned.
host::ItemPtr findContactByMail(StoreContext& state, const std::string& fullName,
                                const std::string& address);

// Walks found and its FindNext successors in items: the first one the current user created,
// else the last one. Null for a null found. Store and host errors reach the caller.
host::ItemPtr preferOwnContact(StoreContext& state, host::ItemPtr found, host::Items& items);

// Whether the default folder of the kind (1 appointment, 2 contact) holds this very item, found
// by its subject and start hour, or by its contact fields. Failures report "LabelFindObject: ".
bool isInDefaultFolder(StoreContext& state, const host::ItemPtr& item, std::int16_t kind);

// Whether the default calendar holds an appointment with this subject. Errors reach the caller.
bool appointmentSubjectExists(StoreContext& state, const std::string& subject);

// Calendar for kind 1, Contacts for kind 2; null for other kinds or when the host fails.
host::FolderPtr getDefaultFolder(StoreContext& state, std::int16_t kind);

// Opens the contact (kind 2) or appointment (kind 1) with this entry ID in its window; an item
// that cannot be found or opened is passed over silently.
void showItem(StoreContext& state, const std::string& entryId, std::int16_t kind);

// The host's built-in Tools popup and its send-and-receive button.
inline constexpr int idToolsMenu = 30007;
inline constexpr int idSendReceive = 5577;

// Runs the host's send command: the first button idSendReceive in the popup idToolsMenu of the
// "Menu bar".
// Raises the host's error when the bar or the popup is missing.
void executeSendReceive(StoreContext& state);

} // namespace velmora
