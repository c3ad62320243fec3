// The shared helpers of the link engines and dialogs: creators of server ids, quote stripping for
// names, store values from host values, contact link rows, plus the item lookups.
#pragma once

#include "links/ItemLookup.h"
#include "platform/ado/Recordset.h"
#include "platform/ado/Value.h"
#include "store/StoreContext.h"
#include "store/StoreSession.h"

#include <cstdint>
#include <string>

namespace velmora {

// Removes, each only when present and in this order, one leading and one trailing single quote,
// then one leading and one trailing double quote.
std::string stripQuotes(std::string text);

// The creator part of a server id (before its last "_"); the current user for "-1".
std::string creatorOfServerID(const StoreContext& state, const std::string& serverId);

// The creator of an item by its server id: the current user while it has none, the mail owner
// itself for kind 6, otherwise the creator part of the id.
std::string getItemCreator(StoreContext& state, std::int16_t kind, const std::string& entryId);

// A host property value as the store takes it; an unset host value becomes a null field.
ado::Value storeValue(const host::Variant& value);

// Opens select for changing (keyset, pessimistic) on the row it finds, or on a new row when it
// finds none: how the engines revive a link or history row or write it afresh.
void openRowOrAdd(const StoreContext& state, ado::Recordset& rs, const std::string& select);

// An item's history row, found by its key column, or a new row holding the key.
void openHistoryRow(const StoreContext& state, ado::Recordset& rs, const std::string& table,
                    const std::string& keyColumn, const std::string& key);

// How an engine writes its item's noteTb link to a contact: its error trap's tag, the select's
// text before the item's key and before the contact's entry id, the link type (1 appointment,
// 4 note) and the item property that becomes the row's Regarding.
struct ContactLinkSpelling {
    const char* tag;
    const char* selectByKey;
    const char* andContact;
    int type;
    const char* regardingProperty;
};

// Revives the row the select finds, or adds one, and sets every column from the item, as one
// transaction level under the error trap; the creator is loginName while the item has no server
// id (itemServerId "-1"). False when the trap fired.
bool writeContactLinkRow(StoreContext& state, const ContactLinkSpelling& spelling,
                         const host::Item& item, const std::string& contactEntryId,
                         const std::string& itemServerId, const std::string& loginName,
                         bool isShared);

} // namespace velmora
