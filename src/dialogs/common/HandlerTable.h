// A form's event wiring as one table: each row names a control (with its index in a control
// array), one of its events and the member function that handles it, named control_event.
#pragma once

#include "dialogs/common/FormDesign.h"
#include "platform/controls/Form.h"
#include "platform/host/Events.h"

#include <functional>
#include <initializer_list>
#include <span>
#include <string_view>
#include <vector>

namespace velmora {

enum class FormEvent { Load, Unload, Click, DblClick, Change, ColumnClick };

// A member function bound to its object. A handler of a control array may take the index of
// the control that raised the event, as the host passes it; a ColumnClick handler takes the
// column (1-based).
class Handler {
  public:
    template <typename T>
    Handler(T& object, void (T::*member)())
        : run_([&object, member](int) { (object.*member)(); }) {}
    template <typename T>
    Handler(T& object, void (T::*member)(int))
        : run_([&object, member](int index) { (object.*member)(index); }) {}

    void operator()(int index) const { run_(index); }

  private:
    std::function<void(int)> run_;
};

struct HandlerRow {
    std::string_view control; // "Form" for the form itself
    FormEvent event;
    Handler handler;
    int index = -1;
};

// Subscribes every row, and the same handler on the twin of a control the design gives one. A row
// naming a control the form lacks, or an event its control does not raise, is a fault of the form's
// design and raises ControlError.
std::vector<host::Subscription> wireHandlers(controls::Form& form,
                                             std::initializer_list<HandlerRow> rows,
                                             std::span<const ControlDesign> design = {});

} // namespace velmora
