// A dialog form: control registry, load and unload, showing, key routing and the full dump.
// Unload is guarded against re-entry so that a close triggered from an Unload handler is harmless.
#include "platform/controls/Form.h"

#include <algorithm>

namespace velmora::controls {

Form::Form(std::string name) : Control(std::move(name)) {
    Control::setVisible(false);
}

Form::~Form() {
    // Controls must not call back into a form that is going away.
    for (Control* control : controls_)
        control->parent_ = nullptr;
    controls_.clear();
}

void Form::adopt(std::unique_ptr<Control> control) {
    registerControl(*control);
    owned_.push_back(std::move(control));
}

void Form::attach(Control& control) {
    registerControl(control);
}

void Form::registerControl(Control& control) {
    if (&control == this) throw ControlError("Form " + Name() + " cannot hold itself");
    if (control.parent_)
        throw ControlError(control.displayName() + " is already on form " +
                           control.parent_->Name());
    if (find(control.Name(), control.Index()))
        throw ControlError("Form " + Name() + " already has a control " + control.displayName());
    control.parent_ = this;
    control.setTabIndex(static_cast<int>(controls_.size()));
    controls_.push_back(&control);
}

void Form::forget(Control& control) {
    controls_.erase(std::remove(controls_.begin(), controls_.end(), &control), controls_.end());
    control.parent_ = nullptr;
}

Control* Form::find(std::string_view name, int index) const {
    for (Control* control : controls_)
        if (control->Name() == name && control->Index() == index) return control;
    return nullptr;
}

void Form::keepAsDesigned() {
    for (Control* control : controls_)
        control->keepDesign();
    designCaption_ = Caption();
    designed_ = true;
}

void Form::load() {
    if (loaded_) return;
    if (!designed_) keepAsDesigned();
    loaded_ = true;
    Load.raise();
}

bool Form::unload() {
    if (!loaded_) return true;
    if (unloading_) return false;
    unloading_ = true;
    int cancel = 0;
    try {
        Unload.raise(cancel);
    } catch (...) {
        unloading_ = false;
        throw;
    }
    unloading_ = false;
    if (cancel != 0) return false;
    loaded_ = false;
    for (Control* control : controls_)
        control->restoreDesign();
    setCaption(designCaption_);
    Control::setVisible(false);
    modal_ = false;
    owner_ = nullptr;
    return true;
}

void Form::Show(bool modal, Form* owner) {
    if (owner == this) throw ControlError("Form " + Name() + " cannot own itself");
    if (modal && loaded_ && Visible())
        throw ControlError("Form already displayed; can't show modally: " + Name());
    load();
    if (!loaded_) return; // its Load handler unloaded it again
    Control::setVisible(true);
    modal_ = modal;
    owner_ = owner;
    if (!modal) return;
    if (owner && owner->childModalScript_ && !childModalScript_)
        childModalScript_ = owner->childModalScript_;
    auto script = modalScript_ ? modalScript_ : childModalScript_; // it may replace itself
    if (script) script(*this);
}

void Form::Hide() {
    Control::setVisible(false);
    modal_ = false;
    owner_ = nullptr;
}

void Form::setVisible(bool visible) {
    if (visible)
        Show();
    else
        Hide();
}

void Form::pressKey(Control& control, int keyCode, int shift) {
    if (!loaded_ || !Visible())
        throw ControlError("Cannot press a key on form " + Name() + ": it is not shown");
    int key = keyCode;
    if (&control == this) {
        KeyDown.raise(key, shift);
        return;
    }
    if (control.parent_ != this)
        throw ControlError(control.displayName() + " is not on form " + Name());
    control.requireUsable("press a key on");
    if (keyPreview_) {
        KeyDown.raise(key, shift);
        if (key == 0 || !loaded_) return;
    }
    control.KeyDown.raise(key, shift);
}

void Form::describeState(std::ostream& out) const {
    out << " loaded=" << loaded_ << " modal=" << modal_
        << " owner=" << quoted(owner_ ? owner_->Name() : "") << " keyPreview=" << keyPreview_
        << " controls=" << controls_.size();
}

void Form::describeDetails(std::ostream& out) const {
    for (const Control* control : controls_)
        out << '\n' << control->describe();
}

} // namespace velmora::controls
