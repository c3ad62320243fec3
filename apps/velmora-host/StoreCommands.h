// Scripted-host commands that play the companion program's part on the link store and the
// user's part on the registry: open the store, set the user, run statements, set values.
#pragma once

#include "CommandTable.h"
#include "ScriptContext.h"

#include <thread>
#include <vector>

namespace velmora::app {

class StoreCommands : public CommandGroup {
  public:
    using CommandGroup::CommandGroup;
    void install(CommandTable& table) override;

    // The store connection, opened on first use.
    ado::Connection& connection();

    // "setting/NAME" names a value of the settings subkey, any other NAME one of the main key.
    static std::pair<std::string, std::string> registryName(const std::string& word);
    // A value as a script writes it: text, a DWORD in decimal, other types as hex bytes.
    static std::string registryText(const registry::RegValue& value);

  private:
    void printQuery(const std::string& sql);
    // "crash at-statement N", "crash at-file N", "crash off".
    void setCrashPoint(const Words& w);
    // "lock store SECONDS": another connection takes the store's write lock now and gives it
    // back after that long, while the script goes on.
    void lockStore(double seconds);

    std::vector<std::jthread> locks_;
};

} // namespace velmora::app
