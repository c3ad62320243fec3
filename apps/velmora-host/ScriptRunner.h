// The scripted host: one command per line operating the in-memory mail host, the add-in, its
// dialogs, the link store and the registry, printing what a user would see.
#pragma once

#include "AddinCommands.h"
#include "CommandTable.h"
#include "ExpectCommands.h"
#include "FormDriver.h"
#include "HostCommands.h"
#include "LineReader.h"
#include "MailboxCommands.h"
#include "ScriptContext.h"
#include "StoreCommands.h"

#include <ostream>
#include <string>
#include <vector>

namespace velmora::app {

// What a run reads and how it treats a failing line.
struct ScriptSource {
    // Names the script in error lines, "NAME:LINE: error: ...": a file, "<stdin>", "demo".
    std::string name;
    // A failing line is reported and the run goes on with the next one, as at a terminal.
    bool keepGoing = false;
    // Each command is printed "> LINE" before what it prints, so that a reader of the output
    // sees what the user did.
    bool echo = false;
};

class ScriptRunner {
  public:
    // out: what the script prints; errors: its failing lines, as FILE:LINE: error: ...
    ScriptRunner(std::ostream& out, std::ostream& errors);

    // Runs every line; a failing command reports its error and, unless keepGoing, stops the
    // run. Returns the process exit code: 0 when every command succeeded, 1 when an expectation
    // failed, 2 when a line could not be run as written.
    int run(LineReader& in, const ScriptSource& source);

    ScriptContext& context() { return ctx_; }
    CommandTable& commands() { return table_; }

  private:
    // Reads and runs lines until the input ends or `done` says so; false when the run must stop.
    bool runLines(const std::function<bool(const std::string&)>& done);
    // A modal dialog's own message loop: the following lines play it until it closes or "end".
    void modalLoop(controls::Form& form);
    void flushMessages();
    void takeMailboxChanges();
    void report(const std::exception& e);
    // What a terminal shows before each line: the dialog that takes the lines, if one does.
    std::string prompt() const;
    std::string withEntryIds(const std::string& line) const;

    ScriptContext ctx_;
    CommandTable table_;
    HostCommands host_;
    StoreCommands store_;
    FormDriver dialogs_;
    ExpectCommands expect_;
    AddinCommands addin_;
    MailboxCommands mailbox_;

    std::ostream& errors_;
    LineReader* in_ = nullptr;
    ScriptSource source_;
    bool aborted_ = false;
    int lineNumber_ = 0;
    int failures_ = 0;
    int scriptErrors_ = 0;
    std::size_t printedMessages_ = 0;
};

} // namespace velmora::app
