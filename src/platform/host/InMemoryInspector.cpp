// The item windows of the in-memory host.
// Closing drops the bars, so a tag-wide Click no longer reaches the window's controls.
#include "platform/host/InMemoryInspector.h"

#include "platform/host/HostCore.h"
#include "platform/host/InMemoryCommandBars.h"

namespace velmora::host {

void InMemoryInspector::use(const char* member) const {
    host_.use(member);
    if (closed_) throw HostError(std::string("The inspector has been closed (") + member + ")");
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

InspectorPtr InMemoryInspectors::open(const ItemPtr& item) {
    auto core = host_.use("Application.OpenInspector");
    if (!item) throw HostError("An item window needs an item, not Nothing");
    for (const auto& i : list_)
        if (i->item() == item) return i;
    auto bars = item->Class() == olNote ? nullptr : core->newInspectorBars();
    auto inspector = std::make_shared<InMemoryInspector>(core, item, std::move(bars),
                                                         forgetter<InMemoryInspector>());
    list_.push_back(inspector);
    core->raise(newInspector_, inspector);
    return inspector;
}

} // namespace velmora::host
