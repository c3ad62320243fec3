// The embedded link store: an SQLite database file (or ":memory:") opened through the sqlite3
// API, with WAL journalling for files and a busy wait so the companion program can share it.
#pragma once

#include "platform/ado/SqlBackend.h"
#include "platform/ado/SqliteStatementCache.h"

#include <filesystem>

struct sqlite3;
struct sqlite3_stmt;

namespace velmora::ado {

class SqliteBackend : public SqlBackend {
  public:
    // For changes, creates the file when it does not exist and puts it in WAL mode; read-only,
    // leaves the file as it is and raises NoStoreError when it does not exist. Raises StoreError
    // when it cannot be opened.
    explicit SqliteBackend(const std::string& path, StoreAccess access = StoreAccess::ReadWrite);
    ~SqliteBackend() override;

    std::int64_t execute(const std::string& sql) override;
    ResultSet query(const std::string& sql, bool updatable) override;
    ResultSet queryUpdatable(const std::string& sql, const SelectShape& shape) override;
    std::unique_ptr<RowCursor> openCursor(const std::string& sql) override;
    bool readsOnly(const std::string& sql) override;
    void begin() override;
    void commit() override;
    void rollback() override;

    using Statement = SqliteStatementCache::Statement;

  protected:
    Outcome executeBound(const std::string& sql, const std::vector<Value>& values) override;
    Value lastInsertIdentity(const std::string& table) override;

  private:
    void open(const std::string& name, int flags);
    void close();
    Statement prepare(const std::string& sql);
    // Runs text, the statement a read sends, into result (whose table is set for changes).
    ResultSet readRows(const std::string& text, bool updatable, ResultSet result);
    // The statement for a text this layer writes itself, prepared on its first use only.
    SqliteStatementCache::Lease prepareKept(const std::string& sql);
    void bind(sqlite3_stmt* statement, int index, const Value& value);
    // Steps to the end; returns the rows the statement changed.
    std::int64_t run(sqlite3_stmt* statement, const std::string& sql);
    [[noreturn]] void fail(const std::string& sql) const;

    sqlite3* db_ = nullptr;
    std::string path_;
    // A row set's insert, update and delete texts differ by table and columns only: a few dozen.
    SqliteStatementCache kept_{32};
};

// Where the embedded link store lives when nothing else is named: $VELMORA_STORE, else
// $XDG_DATA_HOME/velmora/linkstore.db (~/.local/share). The path only; callers create the parent
// folders.
std::filesystem::path defaultStorePath();

} // namespace velmora::ado
