// One in-memory command bar.
#include "platform/host/InMemoryCommandBar.h"

#include "platform/host/HostCore.h"
#include "platform/host/InMemoryCommandBarControl.h"
#include "platform/host/InMemoryCommandBarControls.h"

namespace velmora::host {

InMemoryCommandBar::InMemoryCommandBar(std::weak_ptr<HostCore> core, std::string name)
    : core_(core), name_(std::move(name)),
      controls_(std::make_shared<InMemoryCommandBarControls>(core)) {}

std::shared_ptr<HostCore> InMemoryCommandBar::use(const char* member) const {
    auto core = core_.lock();
    if (!core) throw HostError("The mail host has been shut down");
    core->check(member);
    return core;
}

std::string InMemoryCommandBar::Name() const {
    use("CommandBar.Name");
    return name_;
}

CommandBarControls& InMemoryCommandBar::Controls() {
    use("CommandBar.Controls");
    return *controls_;
}

ControlPtr InMemoryCommandBar::FindControl(int type, int id, const std::string& tag,
                                           bool visibleOnly) {
    use("CommandBar.FindControl");
    return controls_->find(type, id, tag, visibleOnly);
}

} // namespace velmora::host
