// A combo box: a list of entries, the chosen index and an editable text.
// Choosing an entry raises Click; changing the text raises Change.
#pragma once

#include "platform/controls/Control.h"

#include <string>
#include <vector>

namespace velmora::controls {

class ComboBox : public Control {
  public:
    explicit ComboBox(std::string name, int index = -1) : Control(std::move(name), index) {
        designed(entries_, listIndex_, text_);
    }
    std::string kind() const override { return "ComboBox"; }
    bool hasCaption() const override { return false; }

    // Inserts before the 0-based index, or appends when index is -1.
    void AddItem(std::string entry, int index = -1);
    void RemoveItem(int index);
    // Empties the list and the text; raises nothing.
    void Clear();
    int ListCount() const { return static_cast<int>(entries_.size()); }
    const std::string& List(int index) const;

    // -1 when no entry is chosen. Choosing puts the entry into the text and raises Click when
    // the index changes; -1 leaves the text as it is.
    int ListIndex() const { return listIndex_; }
    void setListIndex(int index);

    // Setting the text raises Change when it differs; the index follows to the first entry
    // equal to the new text, or -1 when none is.
    const std::string& Text() const { return text_; }
    void setText(std::string text);

    host::EventSource<> Click;
    host::EventSource<> Change;

    // The user's choice and typing: refused on a disabled or hidden box.
    void choose(int index);
    void type(std::string text);

  protected:
    void describeState(std::ostream& out) const override;
    void describeDetails(std::ostream& out) const override;

  private:
    void checkIndex(int index) const;
    std::vector<std::string> entries_;
    int listIndex_ = -1;
    std::string text_;
};

} // namespace velmora::controls
