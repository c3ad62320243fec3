// The host on the user's real mail: an in-memory host whose items are kept in a mailbox folder
// (Maildir, vCard and iCalendar files), loaded when it opens and written back on every change.
#pragma once

#include "platform/host/ItemKeeper.h"
#include "platform/mailbox/FolderWatch.h"
#include "platform/mailbox/MailboxIndex.h"
#include "platform/mailbox/Maildir.h"

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace velmora::host {
class Folder;
class HostCore;
class InMemoryHost;
class InMemoryItem;
} // namespace velmora::host

namespace velmora::mailbox {

// Folders map to the files as docs/mailbox.md shows: mail folders are Maildir++ folders below
// DIR/Mail, the Calendar, Contacts, Tasks, Notes and Journal folders are directories of one file
// per item. Entry IDs come from the Maildir unique names and the files' UIDs, so they hold
// across runs; what no file holds (links, categories of a mail, a contact's FileAs) is kept in
// the index DIR/.velmora-host.db. A file that cannot be read is skipped or read as far as it can
// be, with one message naming it; a change that cannot be written is refused with a HostError.
// Folders of stores added later are kept in memory only.
class MailboxHost : public host::ItemKeeper {
  public:
    // What the host read so far: files are listed when it opens, and a folder's items are read
    // the first time they are asked for.
    struct Opening {
        std::size_t listed = 0;    // files listed when the mailbox opened
        std::size_t items = 0;     // loaded
        std::size_t parsed = 0;    // of them read from their files
        std::size_t fromIndex = 0; // of them restored from the index unchanged
        std::size_t skipped = 0;   // files that could not be read at all
    };

    // Opens the mailbox at root, creating it with empty folders when missing, and loads it into
    // host, which must hold no item yet. sendCommand: a shell command that gets each delivered
    // mail on its standard input ("" delivers to Sent Items only). Raises MailboxError.
    MailboxHost(host::InMemoryHost& host, std::filesystem::path root, std::string sendCommand = "");
    ~MailboxHost() override;
    MailboxHost(const MailboxHost&) = delete;
    MailboxHost& operator=(const MailboxHost&) = delete;

    const std::filesystem::path& root() const { return root_; }
    const Opening& opening() const { return opening_; }
    // Reads every folder not read yet.
    void loadAll() override;

    // Takes in what other programs changed in the folders since the last call, raising ItemAdd
    // for a new item and ItemChange for a changed one; answers how many items changed.
    int poll();
    // The messages about files that could not be read, each naming its file, since the last call.
    std::vector<std::string> takeProblems();

    // Where a folder's files are: a Maildir folder's directory (messages in its cur/ and new/)
    // or a directory of item files; nothing for a folder kept in memory only.
    struct FolderFiles {
        std::filesystem::path directory;
        bool maildir = false;
    };
    std::optional<FolderFiles> filesOf(const host::Folder& folder) const;

    std::string stored(host::InMemoryItem& item, host::InMemoryFolder& folder,
                       const std::string& fromEntryId) override;
    void saved(host::InMemoryItem& item) override;
    void removed(host::InMemoryItem& item) override;
    void folderAdded(host::InMemoryFolder& folder) override;
    void complete(host::InMemoryItem& item) override;

  private:
    // Where a folder's items are on disk: a Maildir folder (its loose files beside cur/ and
    // new/) or a directory of item files.
    struct Place {
        std::string name; // "mail:Inbox/Projects", "dir:Contacts/Team": the index's place
        bool maildir = false;
        std::string maildirPath; // the Maildir user path; "" for the Inbox
        std::filesystem::path dir;
        std::shared_ptr<host::InMemoryFolder> folder;
        // What the folder held when the mailbox opened, until its items are read.
        std::vector<MaildirMessage> pendingMessages;
        std::vector<std::string> pendingFiles; // names in the directory
    };
    // Where one item is: a Maildir message (stamp empty) or an item file (stamp: its mtime and
    // size when the host last read or wrote it).
    struct Location {
        const Place* place = nullptr;
        std::string file; // the unique name or the file name
        std::string stamp;
        // Where a message was last seen: its flags, and whether it was still in new/.
        std::string flags;
        bool isNew = false;
    };

    void mapFolders();
    Place& addPlace(const std::shared_ptr<host::InMemoryFolder>& folder, bool maildir,
                    const std::string& maildirPath, const std::filesystem::path& dir);
    std::shared_ptr<host::InMemoryFolder> ensureMailFolder(const std::string& path);
    void mapDirectories(const std::shared_ptr<host::InMemoryFolder>& folder,
                        const std::filesystem::path& dir);
    void listPlace(Place& place);
    void loadPlace(Place& place);
    // Reads one file of a place into a new item (or, when known, into the item it names) and
    // answers the item; null when the file could not be read.
    std::shared_ptr<host::InMemoryItem> readMessage(const Place& place, const MaildirMessage& m,
                                                    const IndexRow* row);
    std::shared_ptr<host::InMemoryItem>
    readItemFile(const Place& place, const std::filesystem::path& file, const IndexRow* row,
                 const std::shared_ptr<host::InMemoryItem>& into);
    void adopt(const std::shared_ptr<host::InMemoryItem>& item, const Place& place,
               Location location, const std::string& entryId);
    void forget(const std::string& entryId);
    void keepRow(const host::InMemoryItem& item, const std::string& entryId);
    Location writeNew(host::InMemoryItem& item, const Place& place);
    void rewriteFile(host::InMemoryItem& item, Location& location);
    void deliver(host::InMemoryItem& item);
    std::string freshUid();
    // The mail as a file's bytes, under this Message-ID (a fresh one for a sent mail without).
    std::string mailBytes(const host::InMemoryItem& item, const std::string& messageId = "");
    // The bytes to replace the mail's file with, or nothing when what the file holds is unchanged.
    std::optional<std::string> changedMailBytes(const host::InMemoryItem& item,
                                                const std::filesystem::path& file);
    const Place* placeOf(const host::InMemoryFolder& folder) const;
    const Place* placeOfDirectory(const std::filesystem::path& dir) const;
    // The message at a location as it is now (its flags may have changed); nothing when gone.
    std::optional<MaildirMessage> messageOf(Location& location);
    Location messageLocation(const Place& place, const MaildirMessage& m) const;
    void takeChange(const FolderChange& change, int& changed);
    // Files reported gone: those whose items are gone too leave the host. A message renamed for
    // its flags is reported gone under its old name, then added under the new one.
    void takeRemovals(const std::vector<FolderChange>& removals, int& changed);
    void dropItem(const Place& place, const std::string& entryId);
    void report(const std::string& message);

    std::shared_ptr<host::HostCore> core_;
    std::filesystem::path root_;
    std::string sendCommand_;
    Maildir maildir_;
    MailboxIndex index_;
    FolderWatch watch_;
    std::vector<std::unique_ptr<Place>> places_;
    std::unordered_map<const host::InMemoryFolder*, const Place*> placeByFolder_;
    std::unordered_map<std::string, int> folderKinds_;
    std::unordered_map<std::string, Location> locations_; // by entry ID
    std::unordered_map<std::string, std::string> byFile_; // place "\n" file -> entry ID
    std::vector<std::string> problems_;
    Opening opening_;
    unsigned long uidCounter_ = 0;
    bool loadingAll_ = false;
};

} // namespace velmora::mailbox
