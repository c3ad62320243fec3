// A tab control: tab range checks, the disabled-tab refusal and the Click event.
// The refusal is an error so that a dialog selecting an unavailable tab learns of it at once.
#include "platform/controls/TabControl.h"

#include "platform/controls/ControlError.h"

#include <utility>

namespace velmora::controls {

TabControl::TabControl(std::string name, int index, int tabs) : Control(std::move(name), index) {
    setTabs(tabs);
    designed(tabs_, tab_);
}

void TabControl::checkTab(int tab) const {
    if (tab < 0 || tab >= Tabs())
        throw ControlError("Invalid tab " + std::to_string(tab) + " of " + displayName() +
                           " (it has " + std::to_string(Tabs()) + ")");
}

void TabControl::setTabs(int count) {
    if (count < 1)
        throw ControlError("Invalid property value: Tabs " + std::to_string(count) + " of " +
                           displayName());
    tabs_.resize(static_cast<std::size_t>(count));
    if (tab_ >= count) tab_ = 0;
}

void TabControl::setTab(int tab) {
    checkTab(tab);
    if (!tabs_[static_cast<std::size_t>(tab)].enabled)
        throw ControlError("Tab " + std::to_string(tab) + " of " + displayName() + " is disabled");
    if (tab == tab_) return;
    const int previous = std::exchange(tab_, tab);
    Click.raise(previous);
}

void TabControl::clickTab(int tab) {
    requireUsable("click");
    checkTab(tab);
    if (tabs_[static_cast<std::size_t>(tab)].enabled) setTab(tab);
}

bool TabControl::TabEnabled(int tab) const {
    checkTab(tab);
    return tabs_[static_cast<std::size_t>(tab)].enabled;
}

void TabControl::setTabEnabled(int tab, bool enabled) {
    checkTab(tab);
    tabs_[static_cast<std::size_t>(tab)].enabled = enabled;
}

const std::string& TabControl::TabCaption(int tab) const {
    checkTab(tab);
    return tabs_[static_cast<std::size_t>(tab)].caption;
}

void TabControl::setTabCaption(int tab, std::string caption) {
    checkTab(tab);
    tabs_[static_cast<std::size_t>(tab)].caption = std::move(caption);
}

void TabControl::describeState(std::ostream& out) const {
    out << " tab=" << tab_ << " tabs=" << Tabs();
}

void TabControl::describeDetails(std::ostream& out) const {
    for (std::size_t i = 0; i < tabs_.size(); ++i)
        out << "\n  tab " << i << " enabled=" << tabs_[i].enabled
            << " caption=" << quoted(tabs_[i].caption);
}

} // namespace velmora::controls
