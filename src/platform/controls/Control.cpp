// The base of every control stand-in: naming, common properties and the text dump.
// A control registered with a form unregisters itself when it is destroyed first.
#include "platform/controls/Control.h"

#include "platform/controls/ControlError.h"
#include "platform/controls/Form.h"

#include <sstream>
#include <utility>

namespace velmora::controls {

Control::Control(std::string name, int index) : name_(std::move(name)), index_(index) {
    if (name_.empty()) throw ControlError("A control needs a name");
    if (index_ < -1) throw ControlError("Invalid control array index for " + name_);
    designed(enabled_, visible_, tabIndex_, caption_);
}

Control::~Control() {
    if (parent_) parent_->forget(*this);
}

std::string Control::displayName() const {
    if (index_ < 0) return name_;
    return name_ + "(" + std::to_string(index_) + ")";
}

void Control::setTabIndex(int tabIndex) {
    if (tabIndex < 0) throw ControlError("Invalid property value: TabIndex of " + displayName());
    tabIndex_ = tabIndex;
}

void Control::keepDesign() {
    design_.clear();
    for (const auto& keep : designers_)
        keep();
}

void Control::restoreDesign() {
    for (const auto& restore : design_)
        restore();
}

const std::string& Control::Caption() const {
    if (!hasCaption()) throw ControlError(kind() + " " + displayName() + " has no Caption");
    return caption_;
}

void Control::setCaption(std::string caption) {
    if (!hasCaption()) throw ControlError(kind() + " " + displayName() + " has no Caption");
    caption_ = std::move(caption);
}

std::string Control::describe() const {
    std::ostringstream out;
    out << kind() << ' ' << displayName() << " enabled=" << enabled_ << " visible=" << visible_
        << " tabIndex=" << tabIndex_;
    if (hasCaption()) out << " caption=" << quoted(caption_);
    describeState(out);
    describeDetails(out);
    return out.str();
}

void Control::describeState(std::ostream&) const {}

void Control::describeDetails(std::ostream&) const {}

void Control::requireUsable(std::string_view action) const {
    if (!enabled_ || !visible_)
        throw ControlError("Cannot " + std::string(action) + " " + displayName() + ": it is " +
                           (enabled_ ? "hidden" : "disabled"));
}

} // namespace velmora::controls
