// The shared helpers of the link engines and dialogs: creators of server ids, quote stripping for
// names, store values from host values, contact link rows, plus the item lookups.
#pragma once

#include "links/ItemLookup.h"
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

// The noteTb link of a note (type 4) or an appointment (type 1) to one contact: the row that
// select finds is revived, or a row is added, and every column is set from the item; the creator
// is loginName while the item has no server id (itemServerId "-1").
void writeContactLinkRow(StoreContext& state, const std::string& select, const host::Item& item,
                         int type, const std::string& regarding, const std::string& contactEntryId,
                         const std::string& itemServerId, const std::string& loginName,
                         bool isShared);

} // namespace velmora
