// The open item windows of the in-memory host.
#include "platform/host/InMemoryInspectors.h"

#include "platform/host/HostCore.h"
#include "platform/host/InMemoryInspector.h"

#include <algorithm>

namespace velmora::host {

std::shared_ptr<HostCore> InMemoryInspectors::use(const char* member) const {
    auto core = core_.lock();
    if (!core) throw HostError("The mail host has been shut down");
    core->check(member);
    return core;
}

int InMemoryInspectors::Count() const {
    use("Inspectors.Count");
    return static_cast<int>(list_.size());
}

InspectorPtr InMemoryInspectors::Item(int index) const {
    use("Inspectors.Item");
    if (index < 1 || static_cast<std::size_t>(index) > list_.size())
        throw HostError("Array index out of bounds: inspector " + std::to_string(index) + " of " +
                        std::to_string(list_.size()));
    return list_[static_cast<std::size_t>(index - 1)];
}

InspectorPtr InMemoryInspectors::open(const ItemPtr& item) {
    auto core = use("Application.OpenInspector");
    if (!item) throw HostError("An item window needs an item, not Nothing");
    for (const auto& i : list_)
        if (i->item() == item) return i;
    auto bars = item->Class() == olNote ? nullptr : core->newInspectorBars();
    std::weak_ptr<InMemoryInspectors> weak = shared_from_this();
    auto inspector = std::make_shared<InMemoryInspector>(
        core, item, std::move(bars), [weak](InMemoryInspector* closing) {
            if (auto self = weak.lock())
                self->list_.erase(
                    std::remove_if(self->list_.begin(), self->list_.end(),
                                   [closing](const auto& x) { return x.get() == closing; }),
                    self->list_.end());
        });
    list_.push_back(inspector);
    newInspector_.raise(inspector);
    return inspector;
}

} // namespace velmora::host
