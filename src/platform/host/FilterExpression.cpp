// Evaluation of a compiled item filter.
// It reads the item's stored slots in place, so a comparison allocates nothing.
#include "platform/host/FilterExpression.h"

#include "platform/host/InMemoryItem.h"
#include "platform/text/UnicodeText.h"

namespace velmora::host {

namespace {

template <typename T> bool apply(FilterOp op, const T& a, const T& b) {
    switch (op) {
    case FilterOp::Eq:
        return a == b;
    case FilterOp::Ne:
        return !(a == b);
    case FilterOp::Lt:
        return a < b;
    case FilterOp::Le:
        return !(b < a);
    case FilterOp::Gt:
        return b < a;
    case FilterOp::Ge:
        return !(a < b);
    }
    return false;
}

bool applyOrder(FilterOp op, int c) {
    return apply(op, c, 0);
}

const std::string kEmpty;

} // namespace

bool FilterExpression::eval(int node, const InMemoryItem& item) const {
    // And/Or chains lean right and are as long as the filter: the loop follows them, so only
    // the parser's bounded nesting recurses.
    for (;;) {
        const FilterNode& n = nodes_[static_cast<std::size_t>(node)];
        switch (n.kind) {
        case FilterNode::And:
            if (!eval(n.left, item)) return false;
            break;
        case FilterNode::Or:
            if (eval(n.left, item)) return true;
            break;
        case FilterNode::Not:
            return !eval(n.left, item);
        case FilterNode::Compare:
            return compare(n, item);
        }
        node = n.right;
    }
}

bool FilterExpression::compare(const FilterNode& n, const InMemoryItem& item) const {
    // An item of another kind (a contact among mails) has no such property: it never matches.
    if (!PropertyCatalog::instance().applies(n.slot, item.itemType())) return false;
    const Variant& v = item.field(n.slot);
    switch (n.type) {
    case PropType::Text: {
        const std::string& s = std::get_if<std::string>(&v) ? std::get<std::string>(v) : kEmpty;
        // Other scripts fold through ICU: once per item and text, not once per comparison.
        const int order = velmora::text::isAscii(s) ? velmora::text::compareFolded(s, n.text)
                                                    : item.foldedText(n.slot).compare(n.text);
        if (n.op == FilterOp::Eq) return order == 0;
        if (n.op == FilterOp::Ne) return order != 0;
        return applyOrder(n.op, order);
    }
    case PropType::Number: {
        const long* x = std::get_if<long>(&v);
        return apply(n.op, x ? *x : 0L, n.number);
    }
    case PropType::Flag: {
        const bool* b = std::get_if<bool>(&v);
        return apply(n.op, static_cast<int>(b && *b), static_cast<int>(n.flag));
    }
    case PropType::Date: {
        const DateTime* d = std::get_if<DateTime>(&v);
        if (!d) // an empty date only differs from every date
            return n.op == FilterOp::Ne;
        const DateTime itemDate =
            n.dateHasSeconds ? *d : std::chrono::floor<std::chrono::minutes>(*d);
        return apply(n.op, itemDate, n.date);
    }
    }
    return false;
}

std::shared_ptr<const FilterExpression> FilterExpression::conjunction(const FilterExpression& a,
                                                                      const FilterExpression& b) {
    // A restriction of a restriction: one tree whose root ands the two old roots.
    std::vector<FilterNode> nodes = a.nodes_;
    const int offset = static_cast<int>(nodes.size());
    for (FilterNode n : b.nodes_) {
        if (n.left >= 0) n.left += offset;
        if (n.right >= 0) n.right += offset;
        nodes.push_back(std::move(n));
    }
    FilterNode root;
    root.kind = FilterNode::And;
    root.left = a.root_;
    root.right = b.root_ + offset;
    nodes.push_back(root);
    const int rootIndex = static_cast<int>(nodes.size()) - 1;
    return std::make_shared<const FilterExpression>(std::move(nodes), rootIndex);
}

} // namespace velmora::host
