// The column headers of a list view: title, width in twips and header icon, 1-based.
// Column 1 is the rows' main text, column k + 1 their sub-item k.
#pragma once

#include <string>
#include <vector>

namespace velmora::controls {

struct ColumnHeader {
    int index = 0;
    std::string text;
    int width = 0;
    int icon = 0; // 0 means no header icon
};

class ColumnHeaderCollection {
  public:
    // Appends a column; a negative width is refused.
    ColumnHeader& Add(std::string text, int width, int icon = 0);
    const ColumnHeader& Item(int index) const;
    ColumnHeader& Item(int index);
    void Clear() { columns_.clear(); }
    int Count() const { return static_cast<int>(columns_.size()); }

  private:
    std::vector<ColumnHeader> columns_;
};

} // namespace velmora::controls
