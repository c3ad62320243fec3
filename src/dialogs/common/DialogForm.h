// What every dialog is: a form it owns, shown modally or not, over the dialogs' slice of the
// shared state, its controls wired to its handlers by one table.
#pragma once

#include "dialogs/common/DialogContext.h"
#include "dialogs/common/DualListPicker.h"
#include "dialogs/common/HandlerTable.h"
#include "platform/controls/Form.h"

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

namespace velmora {

class DialogForm {
  public:
    DialogForm(const DialogForm&) = delete;
    DialogForm& operator=(const DialogForm&) = delete;
    virtual ~DialogForm() = default;

    controls::Form& form() { return form_; }
    // Loads the form if needed (its Form_Load runs then) and shows it.
    void Show(bool modal = false, controls::Form* owner = nullptr) { form_.Show(modal, owner); }

  protected:
    DialogForm(DialogContext& state, std::string formName)
        : state_(state), form_(std::move(formName)) {}

    // Wires the dialog's handler table and Escape, and takes the controls as they stand now as
    // the design every load starts from. REQUIRES: called once, at the end of construction.
    void wire(std::initializer_list<HandlerRow> rows) {
        subscriptions_ = wireHandlers(form_, rows);
        subscriptions_.push_back(closeOnEscapeFromAnyControl(form_));
        form_.keepAsDesigned();
    }

    DialogContext& state_;
    controls::Form form_;

  private:
    std::vector<host::Subscription> subscriptions_;
};

} // namespace velmora
