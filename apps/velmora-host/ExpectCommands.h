// Scripted-host expectations: a failed one names what was expected and what was found, and
// makes the run exit non-zero, so that scripts double as end-to-end tests.
#pragma once

#include "CommandTable.h"
#include "HostCommands.h"
#include "ScriptContext.h"
#include "StoreCommands.h"

namespace velmora::app {

class ExpectCommands {
  public:
    ExpectCommands(ScriptContext& context, StoreCommands& store, HostCommands& host)
        : ctx_(context), store_(store), host_(host) {}
    void install(CommandTable& table);

  private:
    std::string queryText(const std::string& sql);

    ScriptContext& ctx_;
    StoreCommands& store_;
    HostCommands& host_;
};

} // namespace velmora::app
