// One round trip through a link store connection, run against each backend: schema, quoted
// values, read and updatable row sets, deletes through a row set, long text and transactions.
#pragma once

#include "platform/ado/Connection.h"

namespace velmora::ado::testing {

// Expects an open connection to an empty store; reports failures through GoogleTest.
void runStoreRoundTrip(Connection& connection);

} // namespace velmora::ado::testing
