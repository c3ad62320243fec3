// Scripted-host commands that act on the add-in as the host sees it: connecting and terminating
// it, pressing its command bar controls, and the companion program's window.
#pragma once

#include "CommandTable.h"
#include "ScriptContext.h"

namespace velmora::app {

class AddinCommands : public CommandGroup {
  public:
    explicit AddinCommands(ScriptContext& context);
    void install(CommandTable& table) override;

    // Brings the dialogs the add-in shows without blocking into the script's view, and drops
    // those that have closed; the runner calls it after every command.
    void trackDialogs();

  private:
    host::CommandBars& barsFor(const Words& words, std::size_t at);
};

} // namespace velmora::app
