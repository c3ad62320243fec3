// The ADO-like connection to the link store: open by connection string, execute statements,
// and the backend seam the recordset uses. SQLite (embedded) and ODBC backends implement it.
#pragma once

#include "platform/ado/Dialect.h"
#include "platform/ado/Value.h"
#include "platform/text/QuotedText.h"

#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <type_traits>
#include <utility>
#include <vector>

namespace velmora::ado {

struct SelectShape;

// A failed store call; what() is the description the caller's error trap shows.
class StoreError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// A store opened read-only ("Mode=Read") whose file does not exist: nothing is created for it.
class NoStoreError : public StoreError {
  public:
    explicit NoStoreError(const std::string& path) : StoreError("no link store at " + path) {}
};

// "Mode=Read" in a connection string opens the store read-only; without it (or "Mode=ReadWrite")
// the store is opened for changes and a missing file is created.
enum class StoreAccess { ReadWrite, Read };

// The rows a statement produced, with their column names as the statement named them.
struct ResultSet {
    std::vector<std::string> columns;
    // An updatable read may leave a row empty (its identity only): it is read when first used.
    std::vector<std::vector<Value>> rows;
    std::vector<Value> identities; // filled for updatable reads: each row's identity
    std::string table;             // the single table an updatable read came from
    std::int64_t affected = 0;     // rows changed, for a statement that yields no columns
};

// The rows of a read, one at a time. The caller's row buffer is reused from row to row, so
// walking a long list does not allocate per row.
class RowCursor {
  public:
    virtual ~RowCursor() = default;
    virtual const std::vector<std::string>& columns() const = 0;
    // Fills row (sized to the columns) with the next row; false when there is none.
    virtual bool next(std::vector<Value>& row) = 0;
    // The rows the statement changed, once next has answered false; 0 for a plain read.
    virtual std::int64_t affected() const = 0;
};

// What a backend must do; the Connection and Recordset add the ADO conventions on top.
class Backend {
  public:
    virtual ~Backend() = default;
    virtual std::int64_t execute(const std::string& sql) = 0; // returns rows affected
    virtual ResultSet query(const std::string& sql, bool updatable) = 0;
    // The updatable read of a select the caller has found to be a plain single-table select.
    // A back end that sends statements as written overrides it to spare analysing sql again.
    virtual ResultSet queryUpdatable(const std::string& sql, const SelectShape& /*shape*/) {
        return query(sql, true);
    }
    // A read-only walk over the statement's rows; valid while the backend is open.
    virtual std::unique_ptr<RowCursor> openCursor(const std::string& sql) = 0;
    // Whether the statement only reads, judged by the engine without running it.
    virtual bool readsOnly(const std::string& sql) = 0;
    // Rows are named by an identity the engine gives (SQLite's rowid, a key column elsewhere).
    // Returns the new row's identity.
    virtual Value insertRow(const std::string& table, const std::vector<std::string>& columns,
                            const std::vector<Value>& values) = 0;
    // Raises StoreError when no row has that identity any more, as deleteRow does.
    virtual void updateRow(const std::string& table, const Value& identity,
                           const std::vector<std::string>& columns,
                           const std::vector<Value>& values) = 0;
    virtual void deleteRow(const std::string& table, const Value& identity) = 0;
    // The named columns of one row, found again by its identity; empty when it is gone.
    virtual std::optional<std::vector<Value>>
    readRow(const std::string& table, const std::string& selectList, const Value& identity) = 0;
    // How the engine behind the store names rows and takes statements.
    virtual const Dialect& dialect() const = 0;
    virtual void begin() = 0;
    virtual void commit() = 0;
    virtual void rollback() = 0;
    // Savepoints are plain statements on both backends.
    void savepoint(const std::string& name);
    void release(const std::string& name);
    void rollbackTo(const std::string& name);
};

// Writes a failed store operation to the log with what was run (a statement, a table's row);
// the failure itself goes on to the caller.
void logStoreFailure(std::string_view what, std::string_view error);

template <typename Body> decltype(auto) logFailure(std::string_view what, Body&& body) {
    try {
        return body();
    } catch (const std::exception& e) {
        logStoreFailure(what, e.what());
        throw;
    }
}

class Connection {
  public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // "DSN=...;UID=...;PWD=..." opens through ODBC; "Database=<file>" (or a bare file path, or
    // ":memory:") opens the embedded SQLite store. ";Mode=Read" opens it read-only: nothing is
    // created, the journal is left as it is, and a missing file raises NoStoreError. Raises
    // StoreError with the driver's message.
    void Open(const std::string& connectionString);
    void Close();
    bool IsOpen() const;
    const std::string& ConnectionString() const { return connectionString_; }

    // Set-based change; returns the records affected. Raises StoreError when closed or on failure.
    std::int64_t Execute(const std::string& sql);
    // Whether the statement only reads, so that a read-only connection can run it.
    bool ReadsOnly(const std::string& sql) { return backend().readsOnly(sql); }

    // Nested use is allowed: inner levels become savepoints.
    void BeginTrans();
    void CommitTrans();
    void RollbackTrans();
    int TransactionDepth() const { return depth_; }

    Backend& backend(); // raises StoreError when the connection is not open
    // Sees the text of every statement before it is sent, reads and changes alike; it may raise
    // StoreError to fail the statement as the store would. The scripted host traces with it.
    void setStatementWatch(std::function<void(const std::string&)> watch) {
        watch_ = std::move(watch);
    }
    void noteStatement(const std::string& sql) const {
        if (watch_) watch_(sql);
    }
    // Changes on every Open, so a row set can tell that its store was closed under it.
    std::uint64_t OpenSerial() const { return serial_; }

  private:
    std::unique_ptr<Backend> backend_;
    std::string connectionString_;
    int depth_ = 0;
    std::uint64_t serial_ = 0;
    std::function<void(const std::string&)> watch_;
};

// Runs fn inside one transaction level: committed when fn returns, rolled back when it throws.
template <typename Fn> auto inTransaction(Connection& connection, Fn&& fn) {
    connection.BeginTrans();
    try {
        if constexpr (std::is_void_v<decltype(fn())>) {
            fn();
            connection.CommitTrans();
        } else {
            auto result = fn();
            connection.CommitTrans();
            return result;
        }
    } catch (...) {
        connection.RollbackTrans();
        throw;
    }
}

// Statement callers quote their values with text's rule, under the name they have always used.
using text::sqlText;

} // namespace velmora::ado
