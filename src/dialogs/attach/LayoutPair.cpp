// The twins of an attach-mail option: which one is visible, its tick, its enabled state.
// Labels (the done labels) are shown instead of enabled.
#include "dialogs/attach/LayoutPair.h"

#include "platform/controls/CaptionedControls.h"

namespace velmora::dialogs {

LayoutPair::LayoutPair(const controls::Form& form, const std::string& name)
    : chinese_(form.get<controls::Control>(name)),
      english_(form.get<controls::Control>(name + "1")) {}

void LayoutPair::showLayout(bool chinese) {
    chinese_.setVisible(chinese);
    english_.setVisible(!chinese);
}

bool LayoutPair::ticked(bool chinese) const {
    const auto* check = dynamic_cast<const controls::CheckBox*>(&visible(chinese));
    return check && check->checked();
}

void LayoutPair::setOption(bool chinese, bool enabled) {
    controls::Control& control = visible(chinese);
    if (auto* label = dynamic_cast<controls::Label*>(&control)) {
        label->setVisible(enabled);
        return;
    }
    control.setEnabled(enabled);
    if (auto* check = dynamic_cast<controls::CheckBox*>(&control); check && !enabled)
        check->setValue(controls::vbUnchecked);
}

void LayoutPair::tick(bool chinese, bool on) {
    auto* check = dynamic_cast<controls::CheckBox*>(&visible(chinese));
    if (check && check->Enabled())
        check->setValue(on ? controls::vbChecked : controls::vbUnchecked);
}

} // namespace velmora::dialogs
