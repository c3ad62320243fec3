// The note link engine: links of a note to contacts (noteTb, type 4) and to events (ToEvent,
// type 4), soft-deleted and revived, and the note's history row (NoteHistory) with its RefCount.
#pragma once

#include "store/StoreContext.h"

#include <cstdint>
#include <string>
#include <vector>

namespace velmora {

namespace controls {
class ListView;
}

class attachNote {
  public:
    explicit attachNote(StoreContext& state);

    // Each operation runs as one transaction level: what it wrote is committed, also rows written
    // before a step reported a failure; an error escaping the operation rolls everything back.

    // Relinks the note to the contacts whose entry IDs are the list's keys. Store and host
    // errors reach the caller.
    void noteToContactForListView(host::Item& noteObj, const controls::ListView& listViewObj,
                                  bool isShareNote);
    // Relinks the note to the contacts among its own Links.
    void noteToContact(host::Item& noteObj, bool isShareNote);
    // Links the note to the appointments of the array (read up to, not including, its last
    // element) held in the store appStoreId. Earlier event links stay as they are. Failures are
    // reported as "AttachNotetoEvent:" + description.
    void noteToEvent(host::Item& noteObj, const std::vector<std::string>& appointmentArray,
                     const std::string& appStoreId);

  private:
    void relinkContacts(host::Item& note, int contactCount,
                        const std::vector<std::string>& contactEntryIds, bool isShareNote);
    bool updateToEvent(host::Item& note, const std::string& loginName,
                       const std::string& appointmentEntryId, const std::string& noteServerId);
    bool updateNoteTb(host::Item& note, const std::string& loginName,
                      const std::string& contactEntryId, const std::string& noteServerId,
                      bool isShared);
    bool updateNoteHistory(host::Item& note, std::int16_t linkCount,
                           const std::string& noteServerId);

    StoreContext& state_;
};

} // namespace velmora
