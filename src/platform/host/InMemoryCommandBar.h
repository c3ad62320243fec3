// One in-memory command bar ("Menu Bar", "Standard"): a name and its controls.
#pragma once

#include "platform/host/ObjectModel.h"

#include <memory>
#include <string>

namespace velmora::host {

class HostCore;
class InMemoryCommandBarControls;

class InMemoryCommandBar : public CommandBar {
  public:
    InMemoryCommandBar(std::weak_ptr<HostCore> core, std::string name);

    std::string Name() const override;
    CommandBarControls& Controls() override;
    ControlPtr FindControl(int type = 0, int id = 0, const std::string& tag = "",
                           bool visibleOnly = false) override;

    const std::string& name() const { return name_; }
    InMemoryCommandBarControls& controls() { return *controls_; }

  private:
    std::shared_ptr<HostCore> use(const char* member) const;

    std::weak_ptr<HostCore> core_;
    std::string name_;
    std::shared_ptr<InMemoryCommandBarControls> controls_;
};

} // namespace velmora::host
