// A set of in-memory command bars, as an explorer or an inspector has them; bar names are
// matched without regard to case, so "Menu bar" names the "Menu Bar".
#pragma once

#include "platform/host/InMemoryCommandBar.h"
#include "platform/host/ObjectModel.h"

#include <memory>
#include <string>
#include <vector>

namespace velmora::host {

class HostCore;

class InMemoryCommandBars : public CommandBars {
  public:
    explicit InMemoryCommandBars(std::weak_ptr<HostCore> core) : core_(std::move(core)) {}

    CommandBar& Item(const std::string& name) override;
    ControlPtr FindControl(int type = 0, int id = 0, const std::string& tag = "") override;

    InMemoryCommandBar& addBar(const std::string& name);
    const std::vector<std::unique_ptr<InMemoryCommandBar>>& bars() const { return bars_; }

  private:
    std::weak_ptr<HostCore> core_;
    std::vector<std::unique_ptr<InMemoryCommandBar>> bars_;
};

} // namespace velmora::host
