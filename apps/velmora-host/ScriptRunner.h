// The scripted host: one command per line operating the in-memory mail host, the add-in, its
// dialogs, the link store and the registry, printing what a user would see.
#pragma once

#include "AddinCommands.h"
#include "CommandTable.h"
#include "ExpectCommands.h"
#include "FormDriver.h"
#include "HostCommands.h"
#include "ScriptContext.h"
#include "StoreCommands.h"

#include <istream>
#include <ostream>
#include <string>
#include <vector>

namespace velmora::app {

class ScriptRunner {
  public:
    explicit ScriptRunner(std::ostream& out);

    // Runs every line; a failing command prints its error and, unless keepGoing, stops the run.
    // Returns the process exit code: 0 when every command succeeded, 1 when an expectation
    // failed, 2 when a line could not be run as written.
    int run(std::istream& in, bool keepGoing);

    ScriptContext& context() { return ctx_; }
    CommandTable& commands() { return table_; }

  private:
    // Reads and runs lines until the input ends or `done` says so; false when the run must stop.
    bool runLines(const std::function<bool(const std::string&)>& done);
    // A modal dialog's own message loop: the following lines play it until it closes or "end".
    void modalLoop(controls::Form& form);
    void flushMessages();
    std::string withEntryIds(const std::string& line) const;

    ScriptContext ctx_;
    CommandTable table_;
    HostCommands host_;
    StoreCommands store_;
    FormDriver dialogs_;
    ExpectCommands expect_;
    AddinCommands addin_;

    std::istream* in_ = nullptr;
    bool keepGoing_ = false;
    bool aborted_ = false;
    int lineNumber_ = 0;
    int failures_ = 0;
    int scriptErrors_ = 0;
    std::size_t printedMessages_ = 0;
};

} // namespace velmora::app
