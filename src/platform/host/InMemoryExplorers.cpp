// The open explorer windows of the in-memory host.
#include "platform/host/InMemoryExplorers.h"

#include "platform/host/HostCore.h"
#include "platform/host/InMemoryExplorer.h"

#include <algorithm>

namespace velmora::host {

std::shared_ptr<HostCore> InMemoryExplorers::use(const char* member) const {
    auto core = core_.lock();
    if (!core) throw HostError("The mail host has been shut down");
    core->check(member);
    return core;
}

int InMemoryExplorers::Count() const {
    use("Explorers.Count");
    return static_cast<int>(list_.size());
}

ExplorerPtr InMemoryExplorers::Item(int index) const {
    use("Explorers.Item");
    if (index < 1 || static_cast<std::size_t>(index) > list_.size())
        throw HostError("Array index out of bounds: explorer " + std::to_string(index) + " of " +
                        std::to_string(list_.size()));
    return list_[static_cast<std::size_t>(index - 1)];
}

std::shared_ptr<InMemoryExplorer> InMemoryExplorers::open(const FolderPtr& folder) {
    std::weak_ptr<InMemoryExplorers> weak = shared_from_this();
    auto explorer = std::make_shared<InMemoryExplorer>(core_, folder, [weak](InMemoryExplorer* e) {
        if (auto self = weak.lock())
            self->list_.erase(std::remove_if(self->list_.begin(), self->list_.end(),
                                             [e](const auto& x) { return x.get() == e; }),
                              self->list_.end());
    });
    list_.push_back(explorer);
    return explorer;
}

} // namespace velmora::host
