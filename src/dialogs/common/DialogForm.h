// What every dialog is: a form it owns, shown modally or not, over the dialogs' slice of the
// shared state, its controls wired to its handlers by one table.
#pragma once

#include "dialogs/common/DialogContext.h"
#include "dialogs/common/DualListPicker.h"
#include "dialogs/common/HandlerTable.h"
#include "platform/controls/Form.h"

#include <initializer_list>
#include <span>
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
    // twins is the design of a form whose controls have English-layout twins.
    DialogForm(DialogContext& state, std::string formName,
               std::span<const ControlDesign> twins = {})
        : state_(state), form_(std::move(formName)), twins_(twins) {}

    // What every dialog does when its form loads and unloads.
    virtual void Form_Load() = 0;
    virtual void Form_Unload() = 0;

    // Wires Form_Load, Form_Unload, the dialog's handler table and Escape, and takes the
    // controls as they stand now as the design every load starts from. A row is wired on its
    // control's twin too where the form's twins say it has one. REQUIRES: called once, at the
    // end of construction.
    void wire(std::initializer_list<HandlerRow> rows) {
        using enum FormEvent;
        subscriptions_ = wireHandlers(form_, {{"Form", Load, {*this, &DialogForm::Form_Load}},
                                              {"Form", Unload, {*this, &DialogForm::Form_Unload}}});
        for (host::Subscription& subscription : wireHandlers(form_, rows, twins_))
            subscriptions_.push_back(std::move(subscription));
        subscriptions_.push_back(closeOnEscapeFromAnyControl(form_));
        form_.keepAsDesigned();
    }

    DialogContext& state_;
    controls::Form form_;

  private:
    std::span<const ControlDesign> twins_;
    std::vector<host::Subscription> subscriptions_;
};

} // namespace velmora
