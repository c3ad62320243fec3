// The shared add-in state: one instance per loaded add-in, handed by reference to every part.
// Each layer below sees its own slice of it (StoreContext, DialogContext) and nothing above.
#pragma once

#include "dialogs/common/DialogContext.h"

#include <string>

namespace velmora {

struct AddinState : DialogContext {
    // The companion program's window title, by language; set when the language is read.
    std::string syncWindowCaption = "Velmora－Outlook信息同步";
};

} // namespace velmora
