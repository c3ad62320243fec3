// The controls of an in-memory command bar or popup, in their order on the bar, with the
// recursive search FindControl and the tag-wide lookup Execute uses.
#pragma once

#include "platform/host/ObjectModel.h"

#include <memory>
#include <vector>

namespace velmora::host {

class HostCore;
class InMemoryCommandBarControl;

class InMemoryCommandBarControls : public CommandBarControls,
                                   public std::enable_shared_from_this<InMemoryCommandBarControls> {
  public:
    explicit InMemoryCommandBarControls(std::weak_ptr<HostCore> core) : core_(std::move(core)) {}

    int Count() const override;
    ControlPtr Item(int index) const override;
    ControlPtr Add(int type, int id = 0, int before = 0, bool temporary = false) override;

    // Host side, without fault checks.
    void append(const std::shared_ptr<InMemoryCommandBarControl>& control);
    int indexOf(const InMemoryCommandBarControl* control) const; // 1-based, 0 when absent
    void remove(const InMemoryCommandBarControl* control);
    void move(const InMemoryCommandBarControl* control, int before);
    std::shared_ptr<InMemoryCommandBarControl> find(int type, int id, const std::string& tag,
                                                    bool visibleOnly) const;
    void collectTagged(const std::string& tag,
                       std::vector<std::shared_ptr<InMemoryCommandBarControl>>& out) const;
    void removeId(int id); // every control with this id, at any depth

  private:
    std::shared_ptr<HostCore> use(const char* member) const;

    std::weak_ptr<HostCore> core_;
    std::vector<std::shared_ptr<InMemoryCommandBarControl>> list_;
};

} // namespace velmora::host
