// The dialogs' common frame: the owned form and the last step of construction, which wires the
// handler table and Escape before the design is taken.
#include "dialogs/common/DialogForm.h"

#include "dialogs/common/DualListPicker.h"

#include <utility>

namespace velmora {

DialogForm::DialogForm(DialogContext& state, std::string formName)
    : state_(state), form_(std::move(formName)) {}

void DialogForm::wire(std::initializer_list<HandlerRow> rows) {
    subscriptions_ = wireHandlers(form_, rows);
    subscriptions_.push_back(closeOnEscapeFromAnyControl(form_));
    form_.keepAsDesigned();
}

} // namespace velmora
