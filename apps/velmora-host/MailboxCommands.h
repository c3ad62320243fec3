// Scripted-host commands that act as the other programs sharing the mailbox folder: a
// synchroniser dropping a mail into a Maildir folder, a calendar tool rewriting an .ics file.
#pragma once

#include "CommandTable.h"
#include "ScriptContext.h"

namespace velmora::app {

class MailboxCommands : public CommandGroup {
  public:
    using CommandGroup::CommandGroup;
    void install(CommandTable& table) override;

  private:
    void drop(const Words& w);

    unsigned long dropped_ = 0; // names the dropped mails apart
};

} // namespace velmora::app
