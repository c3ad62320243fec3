// What every command group of the scripted host works on: the in-memory platform, the add-in
// state, the named items of the script and the dialogs in view.
#pragma once

#include "addin/AddInDesigner1.h"
#include "addin/AddinState.h"
#include "platform/cdo/HostMapiSession.h"
#include "platform/controls/Form.h"
#include "platform/host/InMemoryHost.h"
#include "platform/registry/FileRegistry.h"
#include "platform/windows/FakeWindowSystem.h"
#include "platform/windows/RecordingMessageBox.h"

#include <cstdlib>
#include <functional>
#include <map>
#include <memory>
#include <ostream>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmora::app {

struct ScriptContext {
    explicit ScriptContext(std::ostream& output)
        : out(output), registry(registry::FileRegistry::defaultPath()), mapi(host.application()) {
        state.platform.application = &host.application();
        // The host's clock is the session's one clock: the add-in reads the same time.
        state.platform.clock = &host.clock();
        state.platform.messageBox = &messages;
        state.platform.windowSystem = &windows;
        state.platform.registry = &registry;
        state.platform.mapi = &mapi;
        if (const char* target = std::getenv("VELMORA_STORE_CONNECTION"))
            state.platform.storeConnectionString = target;
    }

    std::ostream& out;
    host::InMemoryHost host;
    registry::FileRegistry registry;
    windows::RecordingMessageBox messages;
    windows::FakeWindowSystem windows;
    cdo::HostMapiSession mapi;
    AddinState state;
    // The add-in's connection object once "connect" ran; it goes before the state it uses.
    std::unique_ptr<AddInDesigner1> addin;
    std::map<std::string, host::ItemPtr> items;
    // Message boxes already looked at by an expectation.
    std::size_t checkedMessages = 0;

    // The dialogs in view, innermost (the one a dialog command acts on) last.
    std::vector<controls::Form*> forms;
    // Plays a modal dialog: reads script lines until the dialog closes or "end"; set by the runner.
    std::function<void(controls::Form&)> modalLoop;

    host::ItemPtr named(const std::string& name) const {
        const auto found = items.find(name);
        if (found == items.end()) throw std::runtime_error("No item is called \"" + name + "\"");
        return found->second;
    }

    controls::Form& currentForm() const {
        if (forms.empty()) throw std::runtime_error("No dialog is open");
        return *forms.back();
    }
};

} // namespace velmora::app
