// The command bars of the in-memory host: one bar, and the set an explorer or an inspector has,
// where bar names are matched without regard to case, so "Menu bar" names the "Menu Bar".
#pragma once

#include "platform/host/HostCore.h"
#include "platform/host/ObjectModel.h"

#include <memory>
#include <set>
#include <string>
#include <vector>

namespace velmora::host {

class InMemoryCommandBarControls;

// One bar ("Menu Bar", "Standard"): a name and its controls.
class InMemoryCommandBar : public CommandBar {
  public:
    InMemoryCommandBar(const std::weak_ptr<HostCore>& core, std::string name);

    std::string Name() const override { return host_.get("CommandBar.Name", name_); }
    CommandBarControls& Controls() override;
    ControlPtr FindControl(int type = 0, int id = 0, const std::string& tag = "",
                           bool visibleOnly = false) override;

    const std::string& name() const { return name_; }
    InMemoryCommandBarControls& controls() { return *controls_; }

  private:
    HostRef host_;
    std::string name_;
    std::shared_ptr<InMemoryCommandBarControls> controls_;
};

class InMemoryCommandBars : public CommandBars {
  public:
    explicit InMemoryCommandBars(std::weak_ptr<HostCore> core) : host_(std::move(core)) {}

    CommandBar& Item(const std::string& name) override;
    ControlPtr FindControl(int type = 0, int id = 0, const std::string& tag = "") override;

    InMemoryCommandBar& addBar(const std::string& name);
    const std::vector<std::unique_ptr<InMemoryCommandBar>>& bars() const { return bars_; }

  private:
    HostRef host_;
    std::vector<std::unique_ptr<InMemoryCommandBar>> bars_;
};

// The host's built-in command bars and controls: the explorer's "Menu Bar" and "Standard"
// toolbar, the inspector's "Menu Bar" and "Standard" toolbar, with the ids the add-in relies on.
// Built-in ids with a meaning of their own.
enum BuiltInId {
    kIdToolsMenu = 30007,
    kIdSendReceive = 5577, // Tools > Send/Receive: sends the Outbox
    kIdFind = 5593,        // explorer "Standard"
    kIdInsertFile = 1074   // inspector "Standard"
};

struct BuiltInControl {
    int id;
    int type;
    const char* caption;
};

// Null when the host has no built-in control with this id.
const BuiltInControl* findBuiltIn(int id);

void buildExplorerBars(InMemoryCommandBars& bars, const std::weak_ptr<HostCore>& core,
                       const std::set<int>& removed);
void buildInspectorBars(InMemoryCommandBars& bars, const std::weak_ptr<HostCore>& core,
                        const std::set<int>& removed);

} // namespace velmora::host
