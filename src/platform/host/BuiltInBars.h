// The host's built-in command bars and controls: the explorer's "Menu Bar" and "Standard"
// toolbar, the inspector's "Menu Bar" and "Standard" toolbar, with the ids the add-in relies on.
#pragma once

#include <memory>
#include <set>
#include <string>

namespace velmora::host {

class HostCore;
class InMemoryCommandBars;

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
