// The shared helpers of the link engines and dialogs: creators of server ids, quote handling for
// names and host filters, store values from host values, plus the item lookups.
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

// A value as a host filter operand: between double quotes, an inner double quote doubled, so a
// name or subject holding quotes can neither break the filter nor change what it selects.
std::string quoteFilterValue(const std::string& value);

// The creator part of a server id (before its last "_"); the current user for "-1".
std::string creatorOfServerID(const StoreContext& state, const std::string& serverId);

// The creator of an item by its server id: the current user while it has none, the mail owner
// itself for kind 6, otherwise the creator part of the id.
std::string getItemCreator(StoreContext& state, std::int16_t kind, const std::string& entryId);

// A host property value as the store takes it; an unset host value becomes a null field.
ado::Value storeValue(const host::Variant& value);

} // namespace velmora
