// Scripted-host expectations: a failed one names what was expected and what was found, and
// makes the run exit non-zero, so that scripts double as end-to-end tests.
#pragma once

#include "CommandTable.h"
#include "FormDriver.h"
#include "HostCommands.h"
#include "ScriptContext.h"
#include "StoreCommands.h"

#include <map>

namespace velmora::app {

class ExpectCommands : public CommandGroup {
  public:
    ExpectCommands(ScriptContext& context, StoreCommands& store, HostCommands& host,
                   FormDriver& dialogs)
        : CommandGroup(context), store_(store), host_(host), dialogs_(dialogs) {}
    // Adds "expect", "answer" and "files"; "expect error" runs its line through the table.
    void install(CommandTable& table) override;

  private:
    using Check = void (ExpectCommands::*)(const Words&);
    void expect(const Words& w);
    void sql(const Words& w);
    void count(const Words& w);
    void message(const Words& w);
    void noMessage(const Words& w);
    void box(const Words& w);
    void dialog(const Words& w);
    void control(const Words& w);
    void noDialog(const Words& w);
    void window(const Words& w);
    void registryValue(const Words& w);
    void file(const Words& w);
    void noFile(const Words& w);
    void statement(const Words& w);
    void filter(const Words& w);
    void displayed(const Words& w);
    void item(const Words& w);
    void faultHit(const Words& w);
    void consistent(const Words& w);
    void logged(const Words& w);
    void bar(const Words& w);
    void error(const Words& w);
    void inverted(const Words& w);

    std::string queryText(const std::string& sql);
    static const std::map<std::string, Check>& checks();

    StoreCommands& store_;
    HostCommands& host_;
    FormDriver& dialogs_;
    const CommandTable* table_ = nullptr;
};

} // namespace velmora::app
