// The item properties the in-memory host knows: name, value type, the item kinds that have it,
// whether a caller may set it, and its value before anything is set. Slots index item storage.
#pragma once

#include "platform/host/ObjectModel.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace velmora::host {

enum class PropType { Text, Number, Flag, Date };

// Item kind bits, one per OlItemType.
enum KindBits : unsigned {
    kMail = 1u << olMailItem,
    kAppointment = 1u << olAppointmentItem,
    kContact = 1u << olContactItem,
    kTask = 1u << olTaskItem,
    kJournal = 1u << olJournalItem,
    kNote = 1u << olNoteItem,
    kPost = 1u << olPostItem,
    kAllKinds = 0x7F
};

// Slots, in the order of the catalogue's table.
enum Prop : int {
    pEntryID,
    pClass,
    pMessageClass,
    pSubject,
    pBody,
    pHTMLBody,
    pCategories,
    pCreationTime,
    pLastModificationTime,
    pSize,
    pImportance,
    pSensitivity,
    pUnRead,
    pTo,
    pCC,
    pBCC,
    pSent,
    pSentOn,
    pReceivedTime,
    pSenderName,
    pSenderEmailAddress,
    pStart,
    pEnd,
    pDuration,
    pAllDayEvent,
    pLocation,
    pReminderSet,
    pReminderMinutesBeforeStart,
    pIsRecurring,
    pBusyStatus,
    pOrganizer,
    pFullName,
    pFirstName,
    pMiddleName,
    pLastName,
    pFileAs,
    pCompanyName,
    pDepartment,
    pJobTitle,
    pEmail1Address,
    pEmail2Address,
    pEmail3Address,
    pBusinessTelephoneNumber,
    pBusiness2TelephoneNumber,
    pHomeTelephoneNumber,
    pHome2TelephoneNumber,
    pMobileTelephoneNumber,
    pBusinessFaxNumber,
    pBusinessAddress,
    pBusinessAddressStreet,
    pBusinessAddressCity,
    pBusinessAddressState,
    pBusinessAddressPostalCode,
    pBusinessAddressCountry,
    pBusinessAddressPostOfficeBox,
    pHomeAddress,
    pHomeAddressStreet,
    pHomeAddressCity,
    pHomeAddressState,
    pHomeAddressPostalCode,
    pHomeAddressCountry,
    pHomeAddressPostOfficeBox,
    pOtherAddress,
    pOtherAddressStreet,
    pOtherAddressCity,
    pOtherAddressState,
    pOtherAddressPostalCode,
    pOtherAddressCountry,
    pOtherAddressPostOfficeBox,
    pStatus,
    pDueDate,
    pStartDate,
    pPercentComplete,
    pComplete,
    pOwner,
    pType,
    pPropCount
};

struct PropertyDef {
    std::string name;
    PropType type;
    unsigned kinds;
    bool readOnly;
    Variant initial;
};

class PropertyCatalog {
  public:
    static const PropertyCatalog& instance();

    // The slot of a property name, any case; -1 when the host knows no such property.
    int find(std::string_view name) const;
    const PropertyDef& def(int slot) const { return defs_[static_cast<std::size_t>(slot)]; }
    bool applies(int slot, int itemType) const { return (def(slot).kinds & (1u << itemType)) != 0; }

  private:
    PropertyCatalog();
    std::vector<PropertyDef> defs_;
    // Every item read looks a name up, so the names sit in an open-addressing table hashed over
    // their lowered bytes: a lookup neither copies the name nor divides.
    std::vector<std::string> lowerNames_;
    std::vector<std::int16_t> slotsByHash_; // -1: empty; its size is a power of two
    static std::size_t hashLowered(std::string_view name);
};

} // namespace velmora::host
