// One row of a list view: key, main text, 1-based sub-item texts, icons, selection, tick, tag.
// Rows are made and owned by their list's collection; a key change is checked against the list.
#pragma once

#include <string>
#include <vector>

namespace velmora::controls {

class ListView;

class ListItem {
  public:
    ListItem(const ListItem&) = delete;
    ListItem& operator=(const ListItem&) = delete;

    // 1-based position in the list; it changes when rows before it are added, removed or sorted.
    int Index() const { return index_; }
    ListView& owner() const { return *owner_; }

    const std::string& Key() const { return key_; }
    // Raises DuplicateKeyError when another row of the list has this key; "" means no key.
    void setKey(std::string key);

    const std::string& Text() const { return text_; }
    // In a sorted list a change of the sort column's text moves the row to its place.
    void setText(std::string text);

    // Column texts after the first; 1-based. A sub-item never set reads as "".
    const std::string& SubItems(int index) const;
    void setSubItems(int index, std::string text);
    int subItemCount() const { return static_cast<int>(subItems_.size()); }

    int Icon() const { return icon_; }
    void setIcon(int icon) { icon_ = icon; }
    // 0 means no icon.
    int SmallIcon() const { return smallIcon_; }
    void setSmallIcon(int icon) { smallIcon_ = icon; }

    bool Selected() const { return selected_; }
    // Selecting makes the row current; without MultiSelect it also clears the other rows.
    void setSelected(bool selected);

    bool Checked() const { return checked_; }
    void setChecked(bool checked) { checked_ = checked; }

    const std::string& Tag() const { return tag_; }
    void setTag(std::string tag) { tag_ = std::move(tag); }

    // The text of a sort column: 0 is the main text, k the sub-item k.
    const std::string& columnText(int sortKey) const;

  private:
    friend class ListItemCollection;
    friend class ListView;
    explicit ListItem(ListView& owner) : owner_(&owner) {}

    ListView* owner_;
    int index_ = 0;
    std::string key_;
    std::string text_;
    std::vector<std::string> subItems_;
    int icon_ = 0;
    int smallIcon_ = 0;
    bool selected_ = false;
    bool checked_ = false;
    std::string tag_;
};

} // namespace velmora::controls
