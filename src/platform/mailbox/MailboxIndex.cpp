// The mailbox's index in SQLite. WAL with normal syncing: a crash may lose the last rows, which
// the next opening rebuilds from the files; it never leaves the index unreadable.
#include "platform/mailbox/MailboxIndex.h"

#include "platform/mailbox/Maildir.h"

#include <sqlite3.h>

#include <algorithm>

namespace velmora::mailbox {

namespace {

std::string column(sqlite3_stmt* s, int i) {
    const auto* text = static_cast<const char*>(sqlite3_column_blob(s, i));
    return text ? std::string(text, static_cast<std::size_t>(sqlite3_column_bytes(s, i)))
                : std::string();
}

void bind(sqlite3_stmt* s, int i, const std::string& value) {
    sqlite3_bind_blob(s, i, value.data(), static_cast<int>(value.size()), SQLITE_TRANSIENT);
}

} // namespace

MailboxIndex::MailboxIndex(const std::filesystem::path& file) : file_(file) {
    if (sqlite3_open_v2(file.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        const std::string why = db_ ? sqlite3_errmsg(db_) : "out of memory";
        sqlite3_close(db_);
        db_ = nullptr;
        throw MailboxError("Mailbox index '" + file.string() + "': " + why);
    }
    sqlite3_busy_timeout(db_, 5000);
    run("PRAGMA journal_mode=WAL");
    run("PRAGMA synchronous=NORMAL");
    run("CREATE TABLE IF NOT EXISTS items(entry_id TEXT PRIMARY KEY, place TEXT NOT NULL, "
        "file TEXT NOT NULL, stamp TEXT NOT NULL, state BLOB NOT NULL)");
    run("CREATE TABLE IF NOT EXISTS folders(place TEXT PRIMARY KEY, item_type INTEGER NOT NULL)");
    run("CREATE INDEX IF NOT EXISTS items_by_place_and_file ON items(place, file)");
    if (sqlite3_prepare_v2(db_, "INSERT OR REPLACE INTO items VALUES (?, ?, ?, ?, ?)", -1, &put_,
                           nullptr) != SQLITE_OK ||
        sqlite3_prepare_v2(db_, "DELETE FROM items WHERE entry_id = ?", -1, &erase_, nullptr) !=
            SQLITE_OK ||
        sqlite3_prepare_v2(
            db_, "SELECT entry_id, file, stamp, state FROM items WHERE place = ? ORDER BY file", -1,
            &rowsOf_, nullptr) != SQLITE_OK)
        fail("cannot prepare its statements");
}

MailboxIndex::~MailboxIndex() {
    sqlite3_finalize(put_);
    sqlite3_finalize(erase_);
    sqlite3_finalize(rowsOf_);
    sqlite3_close(db_);
}

void MailboxIndex::fail(const std::string& what) const {
    throw MailboxError("Mailbox index '" + file_.string() + "': " + what + ": " +
                       sqlite3_errmsg(db_));
}

void MailboxIndex::run(const char* sql) const {
    char* message = nullptr;
    if (sqlite3_exec(db_, sql, nullptr, nullptr, &message) == SQLITE_OK) return;
    const std::string why = message ? message : sqlite3_errmsg(db_);
    sqlite3_free(message);
    throw MailboxError("Mailbox index '" + file_.string() + "': " + why);
}

std::vector<IndexRow> MailboxIndex::rowsOf(const std::string& place) const {
    std::vector<IndexRow> rows;
    sqlite3_reset(rowsOf_);
    bind(rowsOf_, 1, place);
    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(rowsOf_)) == SQLITE_ROW)
        rows.push_back(IndexRow{column(rowsOf_, 0), std::string(), column(rowsOf_, 1),
                                column(rowsOf_, 2), column(rowsOf_, 3)});
    if (rc != SQLITE_DONE) fail("cannot read the items of " + place);
    return rows;
}

void MailboxIndex::keepOnlyPlaces(const std::vector<std::string>& places) {
    // The places come from the index on (place, file), without reading a row's state.
    std::vector<std::string> gone;
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db_, "SELECT DISTINCT place FROM items", -1, &s, nullptr) != SQLITE_OK)
        fail("cannot list its folders");
    while (sqlite3_step(s) == SQLITE_ROW) {
        std::string place = column(s, 0);
        if (std::find(places.begin(), places.end(), place) == places.end())
            gone.push_back(std::move(place));
    }
    sqlite3_finalize(s);
    if (gone.empty()) return;
    if (sqlite3_prepare_v2(db_, "DELETE FROM items WHERE place = ?", -1, &s, nullptr) != SQLITE_OK)
        fail("cannot forget a folder");
    for (const std::string& place : gone) {
        sqlite3_reset(s);
        bind(s, 1, place);
        sqlite3_step(s);
    }
    sqlite3_finalize(s);
}

void MailboxIndex::put(const IndexRow& row) {
    sqlite3_reset(put_);
    bind(put_, 1, row.entryId);
    bind(put_, 2, row.place);
    bind(put_, 3, row.file);
    bind(put_, 4, row.stamp);
    bind(put_, 5, row.state);
    if (sqlite3_step(put_) != SQLITE_DONE) fail("cannot keep item " + row.file);
}

void MailboxIndex::erase(const std::string& entryId) {
    sqlite3_reset(erase_);
    bind(erase_, 1, entryId);
    if (sqlite3_step(erase_) != SQLITE_DONE) fail("cannot forget an item");
}

std::unordered_map<std::string, int> MailboxIndex::folderKinds() const {
    std::unordered_map<std::string, int> kinds;
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db_, "SELECT place, item_type FROM folders", -1, &s, nullptr) !=
        SQLITE_OK)
        fail("cannot read its folders");
    while (sqlite3_step(s) == SQLITE_ROW)
        kinds[column(s, 0)] = sqlite3_column_int(s, 1);
    sqlite3_finalize(s);
    return kinds;
}

void MailboxIndex::putFolderKind(const std::string& place, int itemType) {
    sqlite3_stmt* s = nullptr;
    if (sqlite3_prepare_v2(db_, "INSERT OR REPLACE INTO folders VALUES (?, ?)", -1, &s, nullptr) !=
        SQLITE_OK)
        fail("cannot keep a folder");
    bind(s, 1, place);
    sqlite3_bind_int(s, 2, itemType);
    const int rc = sqlite3_step(s);
    sqlite3_finalize(s);
    if (rc != SQLITE_DONE) fail("cannot keep folder " + place);
}

void MailboxIndex::begin() {
    run("BEGIN");
}

void MailboxIndex::commit() {
    run("COMMIT");
}

void MailboxIndex::rollback() noexcept {
    sqlite3_exec(db_, "ROLLBACK", nullptr, nullptr, nullptr);
}

} // namespace velmora::mailbox
