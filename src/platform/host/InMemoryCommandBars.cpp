// A set of in-memory command bars.
#include "platform/host/InMemoryCommandBars.h"

#include "platform/host/HostCore.h"
#include "platform/host/InMemoryCommandBar.h"
#include "platform/host/InMemoryCommandBarControl.h"
#include "platform/host/InMemoryCommandBarControls.h"
#include "platform/text/AsciiText.h"

namespace velmora::host {

CommandBar& InMemoryCommandBars::Item(const std::string& name) {
    auto core = core_.lock();
    if (!core) throw HostError("The mail host has been shut down");
    core->check("CommandBars.Item");
    for (const auto& bar : bars_)
        if (text::iequals(bar->name(), text::trim(name))) return *bar;
    std::string known;
    for (const auto& bar : bars_)
        known += (known.empty() ? "\"" : ", \"") + bar->name() + "\"";
    throw HostError("There is no command bar named \"" + name + "\" (the bars are " + known + ")");
}

ControlPtr InMemoryCommandBars::FindControl(int type, int id, const std::string& tag) {
    auto core = core_.lock();
    if (!core) throw HostError("The mail host has been shut down");
    core->check("CommandBars.FindControl");
    for (const auto& bar : bars_)
        if (auto found = bar->controls().find(type, id, tag, false)) return found;
    return nullptr;
}

InMemoryCommandBar& InMemoryCommandBars::addBar(const std::string& name) {
    bars_.push_back(std::make_unique<InMemoryCommandBar>(core_, name));
    return *bars_.back();
}

} // namespace velmora::host
