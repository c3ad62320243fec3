// One left/right list pair of a dialog with its four move buttons: wires the buttons' clicks and
// both lists' column clicks, and tells the dialog after each move so it can refresh its options.
#pragma once

#include "dialogs/common/DualListPicker.h"
#include "platform/controls/CaptionedControls.h"
#include "platform/controls/Form.h"

#include <functional>
#include <string>
#include <vector>

namespace velmora {

class ListPair {
  public:
    // button is 1 (copy selected), 2 (copy all), 3 (remove all) or 4 (remove selected).
    using AfterMove = std::function<void(int button, MoveResult result)>;

    // icon is the one copied rows get; copy is CopyListRow or CopyShareListRow.
    ListPair(controls::ListView& left, controls::ListView& right, int icon,
             RowCopy copy = CopyListRow);
    ListPair(const ListPair&) = delete;
    ListPair& operator=(const ListPair&) = delete;

    controls::ListView& left() const { return left_; }
    controls::ListView& right() const { return right_; }

    // Runs a button's logic without a click; refuses a button number outside 1..4.
    MoveResult press(int button);

    // Subscribes the four buttons' Click and both lists' ColumnClick (sorting by the column).
    // afterMove runs after every button, whether or not it moved anything.
    void wire(controls::CommandButton& copySelected, controls::CommandButton& copyAll,
              controls::CommandButton& removeAll, controls::CommandButton& removeSelected,
              AfterMove afterMove = {});
    // Adds the four buttons to the form as prefix1..prefix4 (">", ">>", "<<", "<") and wires them.
    void wireOn(controls::Form& form, const std::string& prefix, AfterMove afterMove = {});

  private:
    controls::ListView& left_;
    controls::ListView& right_;
    int icon_;
    RowCopy copy_;
    AfterMove afterMove_;
    std::vector<host::Subscription> subscriptions_;
};

} // namespace velmora
