// The platform of a session without a desktop, as the scripted host and the tests run the add-in:
// the in-memory host on the session's clock, a registry file, recording message boxes and windows.
#pragma once

#include "platform/cdo/MapiSession.h"
#include "platform/host/InMemoryHost.h"
#include "platform/registry/FileRegistry.h"
#include "platform/windows/MessageBox.h"
#include "platform/windows/WindowSystem.h"
#include "store/StoreContext.h"

#include <filesystem>
#include <utility>

namespace velmora {

// SessionClock is the session's one clock, made from clockArguments; the host and, once served,
// the add-in read it.
template <typename SessionClock> class StandInPlatform {
  public:
    template <typename... ClockArguments>
    StandInPlatform(bool chinese, std::filesystem::path registryFile,
                    ClockArguments&&... clockArguments)
        : clock(std::forward<ClockArguments>(clockArguments)...), host(chinese),
          registry(std::move(registryFile)), mapi(host.application()) {
        host.setClock(clock);
    }

    // Points the add-in's platform services at these stand-ins.
    void serve(Platform& platform) {
        platform.application = &host.application();
        platform.clock = &clock;
        platform.messageBox = &messages;
        platform.windowSystem = &windows;
        platform.registry = &registry;
        platform.mapi = &mapi;
    }

    SessionClock clock; // before the host, which reads it until the end
    host::InMemoryHost host;
    registry::FileRegistry registry;
    windows::RecordingMessageBox messages;
    windows::FakeWindowSystem windows;
    cdo::HostMapiSession mapi;
};

} // namespace velmora
