// One item's links in words: every contact and event link row that names the item, whichever
// side of the link it stands on, with kinds, names, regarding text, dates and flags spelled out.
#pragma once

#include "platform/ado/Connection.h"

#include <cstddef>
#include <ostream>
#include <string>

namespace velmora::app {

// Prints the links of the item with that entry ID; answers how many there were.
std::size_t printLinks(ado::Connection& store, const std::string& entryId, std::ostream& out);

} // namespace velmora::app
