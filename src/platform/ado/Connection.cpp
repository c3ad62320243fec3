// The ADO-like connection: picks the backend from the connection string, runs set-based changes
// and keeps nested transactions as one BEGIN with savepoints inside it.
#include "platform/ado/Connection.h"

#include "platform/ado/OdbcBackend.h"
#include "platform/ado/SqliteBackend.h"
#include "platform/ado/StatementText.h"
#include "platform/log/Log.h"
#include "platform/text/AsciiText.h"

#include <algorithm>
#include <cctype>

namespace velmora::ado {

namespace {

// The file named by "Database=..." (or "Data Source=...") among "key=value;" pairs; a string
// that is not in that form is itself the file.
std::string databaseFile(const std::string& connectionString) {
    const std::string lower = text::lower(connectionString);
    for (const char* key : {"database=", "data source="}) {
        std::size_t at = 0;
        while ((at = lower.find(key, at)) != std::string::npos) {
            if (at == 0 || lower[at - 1] == ';' ||
                std::isspace(static_cast<unsigned char>(lower[at - 1]))) {
                const std::size_t start = at + std::string(key).size();
                const std::size_t end = connectionString.find(';', start);
                return std::string(velmora::text::trim(
                    connectionString.substr(start, end == std::string::npos ? end : end - start)));
            }
            ++at;
        }
    }
    return connectionString;
}

std::string savepointName(int depth) {
    return "velmora_level_" + std::to_string(depth);
}

} // namespace

void logStoreFailure(std::string_view what, std::string_view error) {
    log::error("store", std::string(error) + " [" + std::string(what) + "]");
}

Connection::Connection() = default;

Connection::~Connection() {
    // Work left in an open transaction is not committed behind the caller's back.
    try {
        while (depth_ > 0)
            RollbackTrans();
    } catch (...) {
    }
}

void Connection::Open(const std::string& connectionString) {
    if (backend_)
        throw StoreError("Operation is not allowed when the object is open: the connection to '" +
                         connectionString_ + "' is already open");
    const std::string text = std::string(velmora::text::trim(connectionString));
    if (text.empty())
        throw StoreError("The connection string is empty: name a data source (\"DSN=...\") or a "
                         "database file (\"Database=...\")");
    logFailure("open " + text, [&] {
        if (velmora::text::lower(text).find("dsn=") != std::string::npos) {
            backend_ = std::make_unique<OdbcBackend>(text);
        } else {
            const std::string file = databaseFile(text);
            if (file.empty())
                throw StoreError("The connection string '" + text + "' names no database file");
            backend_ = std::make_unique<SqliteBackend>(file);
        }
    });
    connectionString_ = text;
    depth_ = 0;
    ++serial_;
}

void Connection::Close() {
    if (!backend_) return;
    if (depth_ > 0)
        throw StoreError("The connection cannot be closed while a transaction is pending: commit "
                         "or roll it back first");
    backend_.reset();
}

bool Connection::IsOpen() const {
    return backend_ != nullptr;
}

Backend& Connection::backend() {
    if (!backend_)
        throw StoreError("The connection is closed: operation is not allowed when the object is "
                         "closed");
    return *backend_;
}

std::int64_t Connection::Execute(const std::string& sql) {
    Backend& store = backend();
    noteStatement(sql);
    return logFailure(sql, [&] { return store.execute(sql); });
}

void Connection::BeginTrans() {
    Backend& b = backend();
    if (depth_ == 0)
        b.begin();
    else
        b.savepoint(savepointName(depth_ + 1));
    ++depth_;
}

void Connection::CommitTrans() {
    Backend& b = backend();
    if (depth_ == 0) throw StoreError("No transaction is active: CommitTrans without BeginTrans");
    if (depth_ == 1)
        b.commit();
    else
        b.release(savepointName(depth_));
    --depth_;
}

void Connection::RollbackTrans() {
    Backend& b = backend();
    if (depth_ == 0) throw StoreError("No transaction is active: RollbackTrans without BeginTrans");
    if (depth_ == 1) {
        b.rollback();
    } else {
        // Rolling back to a savepoint keeps it open; release ends this level.
        b.rollbackTo(savepointName(depth_));
        b.release(savepointName(depth_));
    }
    --depth_;
}

void Backend::savepoint(const std::string& name) {
    execute("savepoint " + quoteIdentifier(name));
}
void Backend::release(const std::string& name) {
    execute("release savepoint " + quoteIdentifier(name));
}
void Backend::rollbackTo(const std::string& name) {
    execute("rollback to savepoint " + quoteIdentifier(name));
}

} // namespace velmora::ado
