// What the dialogs need of the shared add-in state beyond the store's slice: the engines, the
// open-dialog lock, the one-shot item-event skip, the remembered positions and the search target.
#pragma once

#include "store/readRegister.h"
#include "store/StoreContext.h"

#include <cstdint>
#include <memory>

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

struct DialogContext : StoreContext {
    std::int16_t activeDialog = dialogNone;
    // Set just before a dialog saves a host item itself, so that the event it raises is ignored.
    bool skipNextItemEvent = false;
    std::shared_ptr<AttachEmail> mailLinks;
    std::shared_ptr<AttachEvent> eventLinks;
    std::shared_ptr<attachNote> noteLinks;
    UiIndices ui;
    // The list a search dialog adds its picked rows to; set by the calling dialog.
    controls::ListView* searchTarget = nullptr;
};

} // namespace velmora
