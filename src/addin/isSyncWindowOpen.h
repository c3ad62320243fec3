// The companion synchronisation program's window test; while that window is open the add-in
// neither links nor shares. A closed window also refreshes the current user.
#pragma once

#include "addin/AddinState.h"
#include "store/StoreSession.h"

namespace velmora {

inline bool isSyncWindowOpen(AddinState& state) {
    if (state.platform.windowSystem &&
        state.platform.windowSystem->FindWindow(state.syncWindowCaption))
        return true;
    state.currentUser = getCurrentUser(state);
    return false;
}

} // namespace velmora
