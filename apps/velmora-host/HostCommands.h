// Scripted-host commands that act as the user of the mail host: items, folders, selection,
// inspectors, sending, and the faults a test wants the host to raise.
#pragma once

#include "CommandTable.h"
#include "ScriptContext.h"

namespace velmora::app {

class HostCommands : public CommandGroup {
  public:
    using CommandGroup::CommandGroup;
    void install(CommandTable& table) override;

    host::FolderPtr folderByPath(const std::string& path) const;

  private:
    void applyProperties(host::Item& item, const Words& words, std::size_t from) const;
    void printItem(const host::Item& item) const;
};

} // namespace velmora::app
