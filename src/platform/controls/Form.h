// A dialog form: caption, loading and unloading with their events, modal or modeless showing,
// key preview, and the registry of its controls by name, with a text dump of all their states.
#pragma once

#include "platform/controls/Control.h"
#include "platform/controls/ControlError.h"

#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmora::controls {

class Form : public Control {
  public:
    explicit Form(std::string name);
    ~Form() override;
    std::string kind() const override { return "Form"; }

    // Creates a control owned by the form and registers it; name and index must be new here.
    template <typename T, typename... Args> T& add(std::string name, Args&&... args) {
        auto control = std::make_unique<T>(std::move(name), std::forward<Args>(args)...);
        T& added = *control;
        adopt(std::move(control));
        return added;
    }
    // Registers a control the caller owns; it unregisters itself if destroyed first.
    void attach(Control& control);

    // The control with this name (and array index), or none.
    Control* find(std::string_view name, int index = -1) const;
    // The control with this name and type; raises ControlError when it is missing or of
    // another type.
    template <typename T> T& get(std::string_view name, int index = -1) const {
        T* typed = dynamic_cast<T*>(find(name, index));
        if (!typed)
            throw ControlError("Form " + Name() + " has no control " + std::string(name) +
                               (index < 0 ? "" : "(" + std::to_string(index) + ")") +
                               " of that type");
        return *typed;
    }
    // The registered controls in registration order (the form itself excluded).
    const std::vector<Control*>& controls() const { return controls_; }

    // The controls as they stand now are the form's design: every load after an unload starts
    // from it again. A form that never says so takes its state at its first load as the design.
    void keepAsDesigned();

    bool Loaded() const { return loaded_; }
    // Loads the form once, raising Load; loading a loaded form does nothing.
    void load();
    // Raises Unload; a handler that sets the cancel flag to non-zero keeps the form loaded.
    // Returns whether the form is unloaded afterwards; unloading an unloaded form does nothing.
    bool unload();

    // Loads the form if needed and makes it visible. A modal show runs the modal script, if one
    // is set, and returns when it does: the stand-in cannot block, so the script plays the user.
    void Show(bool modal = false, Form* owner = nullptr);
    void Hide();
    void setVisible(bool visible) override;
    bool modal() const { return modal_; }
    Form* owner() const { return owner_; }
    void setModalScript(std::function<void(Form&)> script) { modalScript_ = std::move(script); }
    // Plays every form shown modally over this one (and over those, in turn) that has no script
    // of its own: how a scripted user reaches dialogs a dialog creates itself.
    void setChildModalScript(std::function<void(Form&)> script) {
        childModalScript_ = std::move(script);
    }

    // With key preview the form's KeyDown sees keys pressed on its controls before they do.
    bool KeyPreview() const { return keyPreview_; }
    void setKeyPreview(bool keyPreview) { keyPreview_ = keyPreview; }

    // Presses a key on a control of this form (or on the form): the form's KeyDown first when
    // key preview is on, then the control's, unless a handler swallowed the key or the form
    // was unloaded. Refused when the form is not loaded or the control cannot take the focus.
    void pressKey(Control& control, int keyCode, int shift = 0);

    host::EventSource<> Load;
    host::EventSource<int&> Unload;

  protected:
    void describeState(std::ostream& out) const override;
    void describeDetails(std::ostream& out) const override;

  private:
    friend class Control;
    void adopt(std::unique_ptr<Control> control);
    void registerControl(Control& control);
    void forget(Control& control);

    std::vector<std::unique_ptr<Control>> owned_;
    std::vector<Control*> controls_;
    bool designed_ = false;
    std::string designCaption_;
    bool loaded_ = false;
    bool unloading_ = false;
    bool modal_ = false;
    Form* owner_ = nullptr;
    bool keyPreview_ = false;
    std::function<void(Form&)> modalScript_;
    std::function<void(Form&)> childModalScript_;
};

} // namespace velmora::controls
