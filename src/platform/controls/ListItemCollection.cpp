// The rows of one list view: insertion, keyed lookup, removal, the stable sort and the placing
// of a row in a sorted list. The key index is kept beside the rows so lookups do not walk them.
#include "platform/controls/ListItemCollection.h"

#include "platform/controls/ControlError.h"
#include "platform/controls/ListView.h"
#include "platform/text/TextCollator.h"

#include <algorithm>

namespace velmora::controls {

ListItem& ListItemCollection::Add(int index, std::string key, std::string text, int icon,
                                  int smallIcon) {
    if (index < 0 || index > Count() + 1)
        throw ControlError("Index out of bounds: " + std::to_string(index));
    if (!key.empty() && byKey_.count(key)) throw DuplicateKeyError();
    const std::size_t position = index == 0 ? items_.size() : static_cast<std::size_t>(index - 1);
    auto item = std::unique_ptr<ListItem>(new ListItem(owner_));
    item->key_ = std::move(key);
    item->text_ = std::move(text);
    item->icon_ = icon;
    item->smallIcon_ = smallIcon;
    ListItem& added = *item;
    items_.insert(items_.begin() + static_cast<std::ptrdiff_t>(position), std::move(item));
    if (!added.key_.empty()) byKey_.emplace(added.key_, &added);
    renumber(position);
    owner_.keepInOrder(added);
    return added;
}

ListItem& ListItemCollection::Item(int index) const {
    if (index < 1 || index > Count())
        throw ControlError("Index out of bounds: " + std::to_string(index) + " (the list has " +
                           std::to_string(Count()) + " rows)");
    return *items_[static_cast<std::size_t>(index - 1)];
}

ListItem& ListItemCollection::Item(std::string_view key) const {
    ListItem* item = find(key);
    if (!item) throw ControlError("Element not found: key \"" + std::string(key) + "\"");
    return *item;
}

ListItem* ListItemCollection::find(std::string_view key) const {
    if (key.empty()) return nullptr;
    auto found = byKey_.find(key);
    return found == byKey_.end() ? nullptr : found->second;
}

void ListItemCollection::Remove(int index) {
    Item(index);
    removeAt(static_cast<std::size_t>(index - 1));
}

void ListItemCollection::Remove(std::string_view key) {
    removeAt(static_cast<std::size_t>(Item(key).Index() - 1));
}

void ListItemCollection::removeAt(std::size_t position) {
    ListItem* item = items_[position].get();
    if (owner_.current_ == item) owner_.current_ = nullptr;
    if (!item->key_.empty()) byKey_.erase(item->key_);
    items_.erase(items_.begin() + static_cast<std::ptrdiff_t>(position));
    renumber(position);
}

void ListItemCollection::Clear() {
    owner_.current_ = nullptr;
    byKey_.clear();
    items_.clear();
}

std::vector<ListItem*> ListItemCollection::rows() const {
    std::vector<ListItem*> out;
    out.reserve(items_.size());
    for (const auto& item : items_)
        out.push_back(item.get());
    return out;
}

void ListItemCollection::rekey(ListItem& item, std::string key) {
    if (key == item.key_) return;
    if (!key.empty() && byKey_.count(key)) throw DuplicateKeyError();
    if (!item.key_.empty()) byKey_.erase(item.key_);
    item.key_ = std::move(key);
    if (!item.key_.empty()) byKey_.emplace(item.key_, &item);
}

void ListItemCollection::renumber(std::size_t from) {
    for (std::size_t i = from; i < items_.size(); ++i)
        items_[i]->index_ = static_cast<int>(i + 1);
}

void ListItemCollection::sort(int sortKey, bool descending) {
    const text::TextCollator collator;
    std::stable_sort(items_.begin(), items_.end(), [&](const auto& a, const auto& b) {
        const int order = collator.compare(a->columnText(sortKey), b->columnText(sortKey));
        return descending ? order > 0 : order < 0;
    });
    renumber(0);
}

void ListItemCollection::place(ListItem& item, int sortKey, bool descending) {
    const auto at = std::find_if(items_.begin(), items_.end(),
                                 [&](const auto& row) { return row.get() == &item; });
    if (at == items_.end()) return;
    std::unique_ptr<ListItem> moving = std::move(*at);
    items_.erase(at);
    // The other rows are in order: the row goes after every row it does not sort before.
    const text::TextCollator collator;
    const std::string& own = moving->columnText(sortKey);
    const auto to = std::upper_bound(
        items_.begin(), items_.end(), own, [&](const std::string& text, const auto& row) {
            const int order = collator.compare(text, row->columnText(sortKey));
            return descending ? order > 0 : order < 0;
        });
    items_.insert(to, std::move(moving));
    renumber(0);
}

} // namespace velmora::controls
