// The appointment link engine: links of an appointment to contacts (noteTb, type 1), soft-deleted
// and revived, and its history copy with the recurrence pattern (CalendarHistory).
#pragma once

#include "store/StoreContext.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace velmora {

namespace controls {
class ListView;
}

class AttachEvent {
  public:
    explicit AttachEvent(StoreContext& state);

    // Both operations rebuild the appointment's links as one transaction level. A failed step is
    // reported by the step and skipped; other failures are passed over, except a store that
    // cannot start or finish the transaction, which reaches the caller.

    // Relinks the appointment to the contacts whose entry IDs are the list's keys.
    void attachEventtoContactForListView(host::Item& eventObj,
                                         const controls::ListView& listViewObj, bool isShare);
    // Relinks the appointment to the contacts among its own Links.
    void attachEventtoContact(host::Item& eventObj, bool isShare);

    // Longest subject kept in the history row, in characters.
    static constexpr std::size_t eventNameLength = 50;

  private:
    // contactCount is empty when the contacts could not be counted.
    void relinkContacts(host::Item& appointment, std::optional<int> contactCount,
                        const std::vector<std::string>& contactEntryIds, bool isShare);
    bool addEventToNoteTb(host::Item& appointment, const std::string& contactEntryId,
                          const std::string& eventServerId, const std::string& loginName,
                          bool isShared);
    bool AddCalendarHistory(host::Item& appointment, std::int16_t linkCount);

    StoreContext& state_;
};

} // namespace velmora
