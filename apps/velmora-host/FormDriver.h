// Scripted-host commands that act as the user of a dialog: click, tick, pick, type, choose,
// switch tabs, press keys and print the dialog, always on the innermost dialog in view.
#pragma once

#include "CommandTable.h"
#include "ScriptContext.h"

namespace velmora::app {

class FormDriver : public CommandGroup {
  public:
    using CommandGroup::CommandGroup;
    void install(CommandTable& table) override;

    // A control of the current dialog by "Name" or "Name(index)"; "form" is the dialog itself.
    controls::Control& control(const std::string& word) const;

  private:
    template <typename T> T& typed(const std::string& word) const;
};

} // namespace velmora::app
