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
#include <optional>
#include <string_view>

namespace velmora::ado {

namespace {

// Where "key=value" stands among "key=value;" pairs: the key's first character and the end of
// the value. The key matches in any letter case at the start or after a ";" or a blank.
struct Attribute {
    std::size_t start;
    std::size_t valueStart;
    std::size_t end;
};

std::optional<Attribute> findAttribute(const std::string& connectionString, std::string_view key) {
    const std::string lower = text::lower(connectionString);
    std::size_t at = 0;
    while ((at = lower.find(key, at)) != std::string::npos) {
        if (at == 0 || lower[at - 1] == ';' ||
            std::isspace(static_cast<unsigned char>(lower[at - 1]))) {
            const std::size_t valueStart = at + key.size();
            const std::size_t end =
                std::min(connectionString.find(';', valueStart), connectionString.size());
            return Attribute{at, valueStart, end};
        }
        ++at;
    }
    return std::nullopt;
}

std::string attributeValue(const std::string& connectionString, const Attribute& a) {
    return std::string(
        velmora::text::trim(connectionString.substr(a.valueStart, a.end - a.valueStart)));
}

// The file named by "Database=..." (or "Data Source=...") among "key=value;" pairs; a string
// that is not in that form is itself the file.
std::string databaseFile(const std::string& connectionString) {
    for (const char* key : {"database=", "data source="})
        if (const auto a = findAttribute(connectionString, key))
            return attributeValue(connectionString, *a);
    return connectionString;
}

// Takes "Mode=..." out of the string: it is this layer's word, not the driver's.
StoreAccess takeAccess(std::string& connectionString) {
    const auto a = findAttribute(connectionString, "mode=");
    if (!a) return StoreAccess::ReadWrite;
    const std::string mode = attributeValue(connectionString, *a);
    if (!text::iequals(mode, "read") && !text::iequals(mode, "readwrite"))
        throw StoreError("The connection string's Mode '" + mode +
                         "' is not known: use Mode=Read or Mode=ReadWrite");
    // The pair goes with the ";" that separated it from its neighbour.
    std::size_t start = a->start;
    std::size_t end = a->end;
    if (end < connectionString.size())
        ++end;
    else if (start > 0 && connectionString[start - 1] == ';')
        --start;
    connectionString.erase(start, end - start);
    connectionString = std::string(velmora::text::trim(connectionString));
    return text::iequals(mode, "read") ? StoreAccess::Read : StoreAccess::ReadWrite;
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
    std::string target = text;
    const StoreAccess access = takeAccess(target);
    logFailure("open " + text, [&] {
        if (velmora::text::lower(target).find("dsn=") != std::string::npos) {
            backend_ = std::make_unique<OdbcBackend>(target, access);
        } else {
            const std::string file = databaseFile(target);
            if (file.empty())
                throw StoreError("The connection string '" + text + "' names no database file");
            backend_ = std::make_unique<SqliteBackend>(file, access);
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
