// A compiled item filter: a tree of And/Or/Not over property comparisons whose values were
// converted once, at parse time, to the property's type (text already case-folded).
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

} // namespace velmora::host
