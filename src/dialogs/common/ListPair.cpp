// One list pair with its move buttons: button dispatch and event wiring.
// The subscriptions live with the pair, so a dialog that drops the pair stops reacting.
#include "dialogs/common/ListPair.h"

#include "platform/controls/ControlError.h"

#include <utility>

namespace velmora {

ListPair::ListPair(controls::ListView& left, controls::ListView& right, int icon, RowCopy copy)
    : left_(left), right_(right), icon_(icon), copy_(copy) {
    if (&left == &right) throw controls::ControlError("A list pair needs two different lists");
}

MoveResult ListPair::press(int button) {
    switch (button) {
    case 1:
        return copySelectedRow(left_, right_, icon_, copy_);
    case 2:
        return copyAllRows(left_, right_, icon_, copy_);
    case 3:
        return removeAllRows(right_);
    case 4:
        return removeSelectedRow(right_);
    default:
        throw controls::ControlError("There is no move button " + std::to_string(button));
    }
}

void ListPair::wire(controls::CommandButton& copySelected, controls::CommandButton& copyAll,
                    controls::CommandButton& removeAll, controls::CommandButton& removeSelected,
                    AfterMove afterMove) {
    subscriptions_.clear();
    afterMove_ = std::move(afterMove);
    controls::CommandButton* buttons[] = {&copySelected, &copyAll, &removeAll, &removeSelected};
    for (int button = 1; button <= 4; ++button)
        subscriptions_.push_back(buttons[button - 1]->Click.subscribe([this, button] {
            const MoveResult result = press(button);
            if (afterMove_) afterMove_(button, result);
        }));
    for (controls::ListView* list : {&left_, &right_})
        subscriptions_.push_back(
            list->ColumnClick.subscribe([list](int column) { SortListByColumn(*list, column); }));
}

void ListPair::wireOn(controls::Form& form, const std::string& prefix, AfterMove afterMove) {
    auto button = [&](int n, const char* caption) -> controls::CommandButton& {
        auto& added = form.add<controls::CommandButton>(prefix + std::to_string(n));
        added.setCaption(caption);
        return added;
    };
    auto& copySelected = button(1, ">");
    auto& copyAll = button(2, ">>");
    auto& removeAll = button(3, "<<");
    wire(copySelected, copyAll, removeAll, button(4, "<"), std::move(afterMove));
}

} // namespace velmora
