// A compiled item filter, as the parser below makes it from a filter text: a tree of And/Or/Not
// over property comparisons whose values were converted once, to the property's type.
#pragma once

#include "platform/host/ObjectModel.h"
#include "platform/host/PropertyCatalog.h"

#include <memory>
#include <string>
#include <vector>

namespace velmora::host {

class InMemoryItem;

enum class FilterOp { Eq, Ne, Lt, Le, Gt, Ge };

struct FilterNode {
    enum Kind { And, Or, Not, Compare } kind = Compare;
    int left = -1, right = -1; // children (Not uses left)
    int slot = -1;
    PropType type = PropType::Text;
    FilterOp op = FilterOp::Eq;
    std::string text; // case-folded
    long number = 0;
    bool flag = false;
    DateTime date{};
    bool dateHasSeconds = false;
};

class FilterExpression {
  public:
    FilterExpression(std::vector<FilterNode> nodes, int root)
        : nodes_(std::move(nodes)), root_(root) {}
    bool matches(const InMemoryItem& item) const { return eval(root_, item); }
    // Both filters must hold.
    static std::shared_ptr<const FilterExpression> conjunction(const FilterExpression& a,
                                                               const FilterExpression& b);

  private:
    bool eval(int node, const InMemoryItem& item) const;
    bool compare(const FilterNode& n, const InMemoryItem& item) const;

    std::vector<FilterNode> nodes_;
    int root_;
};

// Parses the host's item filter texts ("[Subject] = 'x' And [Start] >= '01/31/2024 09:00'")
// into a FilterExpression for items of one kind; bad filters raise HostError saying where.
class FilterParser {
  public:
    // itemType: the folder's default item type; properties it lacks are refused.
    static std::shared_ptr<const FilterExpression> parse(const std::string& filter, int itemType);
};

} // namespace velmora::host
