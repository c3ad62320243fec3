// The link store's tables, columns and lookup indexes, created when missing. The synchronisation
// program shares these tables, so columns are only ever added, never changed or dropped.
#pragma once

#include "platform/ado/Connection.h"

#include <string>
#include <vector>

namespace velmora {

// Creates every missing table, column and index in one transaction; safe to run on every open.
void createSchema(ado::Connection& c);

// The tables createSchema makes, in creation order.
std::vector<std::string> schemaTableNames();

} // namespace velmora
