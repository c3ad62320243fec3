// The add-in's connection object: the host's connection and termination notifications, which
// set up and tear down the hub, the command bars, the engines and the link store connection.
#pragma once

#include "addin/AddinState.h"
#include "addin/VelmoraMenu.h"

#include <memory>

namespace velmora {

class AddInDesigner1 {
  public:
    explicit AddInDesigner1(AddinState& state) : state_(state) {}

    // Only the application is used; the connect mode is ignored.
    void AddinInstance_OnConnection(host::Application& application, int connectMode = 0);
    void AddinInstance_Terminate();

    // Created on first use, so terminate always finds a hub to dispose.
    VelmoraMenu& menu();

  private:
    bool hookEvents(host::Application& application);
    bool buildCommandBars(host::Application& application);

    AddinState& state_;
    std::unique_ptr<VelmoraMenu> menu_;
};

} // namespace velmora
