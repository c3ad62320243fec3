// The mailbox's index, DIR/.velmora-host.db: for each item the file it is kept in and its whole
// state in the host, so a warm mailbox opens without parsing, and what no file holds survives.
#pragma once

#include <filesystem>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

struct sqlite3;
struct sqlite3_stmt;

namespace velmora::mailbox {

struct IndexRow {
    std::string entryId;
    std::string place; // the folder, as the host names its place on disk
    std::string file;  // a Maildir unique name, or a file name in the place's directory
    std::string stamp; // what the file was when the row was written ("" for a Maildir message)
    std::string state; // saveItemState
};

// Raises MailboxError naming the index file when it cannot be opened or written.
class MailboxIndex {
  public:
    explicit MailboxIndex(const std::filesystem::path& file);
    ~MailboxIndex();
    MailboxIndex(const MailboxIndex&) = delete;
    MailboxIndex& operator=(const MailboxIndex&) = delete;

    // The rows of one place in file-name order (bytewise, as std::string orders), without the
    // place in each.
    std::vector<IndexRow> rowsOf(const std::string& place) const;
    static std::string key(const std::string& place, const std::string& file) {
        return place + '\n' + file;
    }
    // Forgets the rows of places that are no longer there.
    void keepOnlyPlaces(const std::vector<std::string>& places);
    void put(const IndexRow& row);
    void erase(const std::string& entryId);

    // Folder kinds the files cannot tell (a calendar folder below a mail folder).
    std::unordered_map<std::string, int> folderKinds() const;
    void putFolderKind(const std::string& place, int itemType);

    // Many changes as one: while a batch is open nothing is synced.
    void begin();
    void commit();
    void rollback() noexcept;

  private:
    void run(const char* sql) const;
    [[noreturn]] void fail(const std::string& what) const;

    std::filesystem::path file_;
    sqlite3* db_ = nullptr;
    sqlite3_stmt* put_ = nullptr;
    sqlite3_stmt* erase_ = nullptr;
    sqlite3_stmt* rowsOf_ = nullptr;
};

} // namespace velmora::mailbox
