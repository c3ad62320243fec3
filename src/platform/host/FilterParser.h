// Parses the host's item filter texts ("[Subject] = 'x' And [Start] >= '01/31/2024 09:00'")
// into a FilterExpression for items of one kind; bad filters raise HostError saying where.
#pragma once

#include "platform/host/FilterExpression.h"

#include <memory>
#include <string>

namespace velmora::host {

class FilterParser {
  public:
    // itemType: the folder's default item type; properties it lacks are refused.
    static std::shared_ptr<const FilterExpression> parse(const std::string& filter, int itemType);
};

} // namespace velmora::host
