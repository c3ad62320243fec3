// What the store layer and the link engines need of the shared add-in state: the platform's
// services, the language, the login name and the one link store connection.
#pragma once

#include "platform/ado/Connection.h"
#include "platform/cdo/MapiSession.h"
#include "platform/clock/Clock.h"
#include "platform/host/ObjectModel.h"
#include "platform/registry/Registry.h"
#include "platform/windows/MessageBox.h"
#include "platform/windows/WindowSystem.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

namespace velmora {

// What the add-in needs of the machine it runs on; none of it is owned here.
struct Platform {
    host::Application* application = nullptr;
    windows::MessageBox* messageBox = nullptr;
    windows::WindowSystem* windowSystem = nullptr;
    registry::Registry* registry = nullptr;
    cdo::MapiSession* mapi = nullptr;
    // The local time and the system's time text; the host reads the same clock.
    timekeeping::Clock* clock = nullptr;
    // Where openStore connects; "" means the embedded default store.
    std::string storeConnectionString;
    // Handed to every connection openStore makes (see Connection::setStatementWatch).
    std::function<void(const std::string&)> statementWatch;
    // Told of every file step of the link engines (create, copy, rename, delete below the
    // install path) just before it is taken: the step's name and its path.
    std::function<void(std::string_view step, const std::filesystem::path& path)> fileWatch;
};

// The add-in's state as the layers below the dialogs see it. The add-in's own state extends it,
// so every procedure takes the slice of the state its layer owns and no more.
struct StoreContext {
    Platform platform;

    bool isChinese = true;
    std::string currentUser = "-1";
    std::unique_ptr<ado::Connection> storeConnection;
    // The add-in's message-box title.
    std::string messageTitle = "VelmoraOutlook";
    // How often a step failed on the user: a trap that fired and showed its message, or an
    // ignored error that must undo its operation. An operation that sees it grow while it runs
    // rolls back what it wrote (see wholeOperation).
    mutable long trappedErrors = 0;

    host::Application& application() const {
        if (!platform.application) throw host::HostError("The mail host is not available");
        return *platform.application;
    }
    const timekeeping::Clock& wallClock() const {
        if (!platform.clock) throw host::HostError("The clock is not available");
        return *platform.clock;
    }
    // The current local time.
    host::DateTime now() const { return wallClock().now(); }
    ado::Connection& connection() const {
        if (!storeConnection) throw ado::StoreError("The link store connection is not open");
        return *storeConnection;
    }
};

} // namespace velmora
