// The link store session and identity services: opening and closing the one connection,
// the current user, server ids, the creator test, event access and the error reporter.
#pragma once

#include "platform/text/Bilingual.h"
#include "platform/windows/MessageBox.h"
#include "store/StoreContext.h"

#include <cstdint>
#include <memory>
#include <string>

namespace velmora {

// Item kinds of the id lookup.
enum ServerIdKind : std::int16_t {
    kindMail = 0,
    kindAppointment = 1,
    kindContact = 2,
    kindTask = 3,
    kindNote = 5,
    kindMailOwner = 6
};

// The connection string the add-in itself names.
inline constexpr const char* storeDataSource = "DSN=VelmoraOutlook;UID=sa;PWD=";

// Opens state.platform.storeConnectionString, or the embedded default store when that is empty.
std::unique_ptr<ado::Connection> openStore(const StoreContext& state);
void closeStore(StoreContext& state);

std::string getCurrentUser(StoreContext& state);
std::string getServerID(StoreContext& state, std::int16_t kind, const std::string& entryId);
bool isCreator(StoreContext& state, std::int16_t kind, const std::string& entryId);
std::int16_t getEventAccess(StoreContext& state, const host::Item& appointment);

// How many rows the statement reads, counted by walking them as the add-in always has.
long countRows(const StoreContext& state, const std::string& sql);

// The creator part (before the last "_") and number part (after it) of a server id.
std::string serverIdCreator(const std::string& serverId);
std::string serverIdNumber(const std::string& serverId);

// The caption or message in the add-in's language.
std::string say(const StoreContext& state, const text::Bilingual& words);

// The shared error reporter: an OK-only box with the add-in's title.
void showMessage(const StoreContext& state, const std::string& text);
// Refusals (exclamation), requests (information) and Yes/No confirmations.
void showExclamation(const StoreContext& state, const std::string& text);
void showInformation(const StoreContext& state, const std::string& text);
// icon is the box's icon style; the question mark unless a dialog asks for another.
bool askYesNo(const StoreContext& state, const std::string& text, int icon = windows::vbQuestion);

} // namespace velmora
