// The command bars of the in-memory host.
#include "platform/host/InMemoryCommandBars.h"

#include "platform/host/HostCore.h"
#include "platform/host/InMemoryCommandBarControl.h"
#include "platform/text/AsciiText.h"

namespace velmora::host {

InMemoryCommandBar::InMemoryCommandBar(const std::weak_ptr<HostCore>& core, std::string name)
    : host_(core), name_(std::move(name)),
      controls_(std::make_shared<InMemoryCommandBarControls>(core)) {}

CommandBarControls& InMemoryCommandBar::Controls() {
    host_.use("CommandBar.Controls");
    return *controls_;
}

ControlPtr InMemoryCommandBar::FindControl(int type, int id, const std::string& tag,
                                           bool visibleOnly) {
    host_.use("CommandBar.FindControl");
    return controls_->find(type, id, tag, visibleOnly);
}

CommandBar& InMemoryCommandBars::Item(const std::string& name) {
    host_.use("CommandBars.Item");
    for (const auto& bar : bars_)
        if (text::iequals(bar->name(), text::trim(name))) return *bar;
    std::string known;
    for (const auto& bar : bars_)
        known += (known.empty() ? "\"" : ", \"") + bar->name() + "\"";
    throw HostError("There is no command bar named \"" + name + "\" (the bars are " + known + ")");
}

ControlPtr InMemoryCommandBars::FindControl(int type, int id, const std::string& tag) {
    host_.use("CommandBars.FindControl");
    for (const auto& bar : bars_)
        if (auto found = bar->controls().find(type, id, tag, false)) return found;
    return nullptr;
}

InMemoryCommandBar& InMemoryCommandBars::addBar(const std::string& name) {
    bars_.push_back(std::make_unique<InMemoryCommandBar>(host_.weak(), name));
    return *bars_.back();
}

} // namespace velmora::host
