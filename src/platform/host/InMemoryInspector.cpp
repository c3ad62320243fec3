// An item window of the in-memory host.
// Closing drops the bars, so a tag-wide Click no longer reaches the window's controls.
#include "platform/host/InMemoryInspector.h"

#include "platform/host/HostCore.h"
#include "platform/host/InMemoryCommandBars.h"

namespace velmora::host {

std::shared_ptr<HostCore> InMemoryInspector::use(const char* member) const {
    auto core = core_.lock();
    if (!core) throw HostError("The mail host has been shut down");
    core->check(member);
    if (closed_) throw HostError(std::string("The inspector has been closed (") + member + ")");
    return core;
}

ItemPtr InMemoryInspector::CurrentItem() const {
    use("Inspector.CurrentItem");
    return item_;
}

CommandBars& InMemoryInspector::CommandBars() {
    use("Inspector.CommandBars");
    if (!bars_) throw HostError("This item window has no command bars");
    return *bars_;
}

void InMemoryInspector::Close() {
    use("Inspector.Close");
    closed_ = true;
    bars_.reset();
    auto keep = shared_from_this();
    if (onClose_) onClose_(this);
}

} // namespace velmora::host
