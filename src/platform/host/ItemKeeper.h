// What keeps a host's items beyond the process (a mailbox folder on disk): the in-memory host
// tells it of every change before making it, so a change it cannot keep is refused whole.
#pragma once

#include <string>

namespace velmora::host {

class InMemoryFolder;
class InMemoryItem;

// Each member raises HostError, naming the file, when the change cannot be kept; the host then
// does not go on with it (an item that fails its first save stays unsaved, in no folder).
class ItemKeeper {
  public:
    virtual ~ItemKeeper() = default;
    // The item goes into folder: saved for the first time (fromEntryId empty) or moved there
    // from where it had that entry ID. Answers the item's entry ID in its new place.
    virtual std::string stored(InMemoryItem& item, InMemoryFolder& folder,
                               const std::string& fromEntryId) = 0;
    // The item, already kept, was saved again.
    virtual void saved(InMemoryItem& item) = 0;
    // The item left the host for good.
    virtual void removed(InMemoryItem& item) = 0;
    // A folder was added below another one.
    virtual void folderAdded(InMemoryFolder& folder) = 0;
    // Reads what the item holds beyond what was loaded up front (a mail's bodies and
    // attachments); called once, the first time any of it is asked for.
    virtual void complete(InMemoryItem& item) = 0;
    // Reads every folder not read yet: an entry ID the host does not know may name an item
    // of one of them.
    virtual void loadAll() = 0;
};

} // namespace velmora::host
