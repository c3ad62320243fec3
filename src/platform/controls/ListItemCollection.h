// The rows of one list view: keyed, 1-based, owned here so that references stay valid while the
// rows are sorted. Keys are unique within the list and compared exactly; "" means no key.
#pragma once

#include "platform/controls/ListItem.h"

#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::controls {

class ListItemCollection {
  public:
    ListItemCollection(const ListItemCollection&) = delete;
    ListItemCollection& operator=(const ListItemCollection&) = delete;

    // Inserts at the 1-based index (0 appends); in a sorted list the row goes where its text
    // sorts instead. A key another row holds raises DuplicateKeyError and adds nothing.
    ListItem& Add(int index = 0, std::string key = "", std::string text = "", int icon = 0,
                  int smallIcon = 0);

    ListItem& Item(int index) const;
    ListItem& Item(std::string_view key) const;
    // The row with this key, or none.
    ListItem* find(std::string_view key) const;
    bool contains(std::string_view key) const { return find(key) != nullptr; }

    void Remove(int index);
    void Remove(std::string_view key);
    void Clear();
    int Count() const { return static_cast<int>(items_.size()); }

    // The rows in list order, for range loops; the pointers stay valid until a row is removed.
    std::vector<ListItem*> rows() const;

  private:
    friend class ListView;
    friend class ListItem;
    explicit ListItemCollection(ListView& owner) : owner_(owner) {}

    void rekey(ListItem& item, std::string key);
    void removeAt(std::size_t position);
    void renumber(std::size_t from);
    void sort(int sortKey, bool descending);
    // Moves one row to where its sort-column text belongs among the others, already in order.
    void place(ListItem& item, int sortKey, bool descending);

    ListView& owner_;
    std::vector<std::unique_ptr<ListItem>> items_;
    std::map<std::string, ListItem*, std::less<>> byKey_;
};

} // namespace velmora::controls
