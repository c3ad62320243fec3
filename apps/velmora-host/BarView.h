// Command bars as a scenario reads them: which window's bars, and one line per control with
// everything a user sees of it, popups' controls indented below their popup.
#pragma once

#include "ScriptContext.h"

#include <string>

namespace velmora::app {

// The command bars of the explorer in view.
host::CommandBars& explorerBars(ScriptContext& ctx);
// The command bars of the newest item window open on the item the script named name; none
// when no window is open on it.
host::CommandBars* itemWindowBars(ScriptContext& ctx, const std::string& name);

// "1 type=1 id=0 tag="..." caption="..." tooltip="..." visible=1 enabled=1 state=0 style=3",
// one line per control of the bar.
std::string describeBar(host::CommandBar& bar);

} // namespace velmora::app
