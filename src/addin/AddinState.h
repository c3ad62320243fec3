// The shared add-in state: one instance per loaded add-in, handed by reference to every part.
// It owns the store connection and the engines; the platform services are borrowed.
#pragma once

#include "platform/ado/Connection.h"
#include "platform/cdo/MapiSession.h"
#include "platform/clock/Clock.h"
#include "platform/host/ObjectModel.h"
#include "platform/registry/Registry.h"
#include "platform/windows/MessageBox.h"
#include "platform/windows/WindowSystem.h"

#include <cstdint>
#include <memory>
#include <string>

namespace velmora {

class AttachEmail;
class AttachEvent;
class attachNote;
namespace controls {
class ListView;
}

// activeDialog codes.
enum DialogCode : std::int16_t {
    dialogNone = -1,
    dialogShareAppointment = 1,
    dialogShareContact = 2,
    dialogAttachMail = 3,
    dialogShareTask = 4,
    dialogAttachNote = 5
};

// The eleven remembered tab and search-option positions.
struct UiIndices {
    std::int16_t noteTab = 0;
    std::int16_t mailTab = 0;
    std::int16_t calendarTab = 0;
    std::int16_t contactSearchField = 0;
    std::int16_t contactSearchMode = 0;
    std::int16_t contactSearchTime = 0;
    std::int16_t contactSearchTimeRange = 0;
    std::int16_t eventSearchField = 0;
    std::int16_t eventSearchMode = 0;
    std::int16_t eventSearchTime = 0;
    std::int16_t eventSearchTimeRange = 0;
};

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
};

struct AddinState {
    Platform platform;

    bool isChinese = true;
    std::string syncWindowCaption = "Velmora－Outlook信息同步";
    std::int16_t activeDialog = dialogNone;
    bool skipNextItemEvent = false;
    std::string currentUser = "-1";
    std::unique_ptr<ado::Connection> storeConnection;
    std::shared_ptr<AttachEmail> mailLinks;
    std::shared_ptr<AttachEvent> eventLinks;
    std::shared_ptr<attachNote> noteLinks;
    UiIndices ui;

    // The list a search dialog adds its picked rows to; set by the calling dialog.
    controls::ListView* searchTarget = nullptr;

    // The add-in's message-box title.
    std::string messageTitle = "VelmoraOutlook";

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
