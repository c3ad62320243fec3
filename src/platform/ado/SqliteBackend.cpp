// The embedded link store over the sqlite3 API. Values are bound as parameters when rows are
// added or changed, so no value is ever spliced into a statement here.
#include "platform/ado/SqliteBackend.h"

#include "platform/ado/SqliteDialect.h"
#include "platform/ado/StatementText.h"
#include "platform/clock/CalendarText.h"
#include "platform/files/BaseDirectories.h"

#include <sqlite3.h>

#include <cstdlib>
#include <string_view>
#include <variant>
#include <vector>

namespace velmora::ado {

namespace {

// The companion program may hold the write lock for a moment; wait rather than fail at once.
constexpr int busyTimeoutMs = 5000;

// The connection's last failure, with the reason where the engine's words leave it open.
std::string failureText(sqlite3* db) {
    std::string message = sqlite3_errmsg(db);
    switch (sqlite3_errcode(db)) {
    case SQLITE_BUSY:
        return message + ": another program holds the link store's lock (waited " +
               std::to_string(busyTimeoutMs / 1000) + " s)";
    case SQLITE_READONLY:
        return message + (sqlite3_db_readonly(db, "main") == 1
                              ? ": the link store was opened read-only"
                              : ": the link store's file or its folder cannot be written");
    default:
        return message;
    }
}

// sqlite3_changes keeps the last change count across DDL; only trust it when rows moved.
std::int64_t changesSince(sqlite3* db, sqlite3_int64 before) {
    return sqlite3_total_changes64(db) == before ? 0 : sqlite3_changes64(db);
}

// The file as an SQLite URI, for the open options only a URI carries.
std::string fileUri(const std::string& path) {
    constexpr std::string_view hex = "0123456789ABCDEF";
    std::string uri = "file:";
    for (const char c : std::filesystem::absolute(path).lexically_normal().string()) {
        if (c == '%' || c == '?' || c == '#') {
            const auto byte = static_cast<unsigned char>(c);
            uri += '%';
            uri += hex[byte >> 4];
            uri += hex[byte & 0xF];
        } else {
            uri += c;
        }
    }
    return uri;
}

} // namespace

void SqliteBackend::open(const std::string& name, int flags) {
    const int rc = sqlite3_open_v2(name.c_str(), &db_, flags, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        close();
        throw StoreError(message);
    }
    sqlite3_extended_result_codes(db_, 0);
    sqlite3_busy_timeout(db_, busyTimeoutMs);
}

void SqliteBackend::close() {
    // Kept statements must not outlive the database. A cursor's statement is finalized by its
    // owner; close_v2 waits for such stragglers.
    kept_.clear();
    sqlite3_close_v2(db_);
    db_ = nullptr;
}

SqliteBackend::SqliteBackend(const std::string& path, StoreAccess access)
    : SqlBackend(std::make_unique<SqliteDialect>()), path_(path) {
    const bool inMemory = path.empty() || path == ":memory:";
    const bool readOnly = access == StoreAccess::Read;
    std::error_code ignored;
    if (readOnly && !inMemory && !std::filesystem::exists(path, ignored)) throw NoStoreError(path);
    // A connection belongs to the one thread that opened it, so sqlite3's per-call connection
    // mutex buys nothing; leaving it out makes each column read cheaper.
    const int flags = SQLITE_OPEN_NOMUTEX | (readOnly ? SQLITE_OPEN_READONLY
                                                      : SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    const std::string firstRead = "select count(*) from sqlite_master";
    try {
        open(path, flags);
        // The engine falls back to reading a file it may not write; changes are refused up front.
        if (!readOnly && sqlite3_db_readonly(db_, "main") == 1)
            throw StoreError("the file cannot be written by this user");
        // The first statement is also the first read: a file that is not a database fails here
        // rather than at the first statement of the add-in.
        if (readOnly) {
            try {
                query(firstRead, false);
            } catch (const StoreError&) {
                // A WAL store in a folder this user cannot write lacks the shared-memory file
                // readers need. With no journal left beside it, the file alone holds every row.
                const int code = sqlite3_errcode(db_);
                if ((code != SQLITE_READONLY && code != SQLITE_CANTOPEN) ||
                    std::filesystem::exists(path + "-wal", ignored))
                    throw;
                close();
                open(fileUri(path) + "?immutable=1", flags | SQLITE_OPEN_URI);
                query(firstRead, false);
            }
        } else {
            query(inMemory ? firstRead : "pragma journal_mode=wal", false);
        }
        execute("pragma foreign_keys=off");
    } catch (const StoreError& e) {
        close();
        throw StoreError("Cannot open the link store '" + path + "': " + e.what());
    }
}

SqliteBackend::~SqliteBackend() {
    close();
}

void SqliteBackend::fail(const std::string& sql) const {
    throw StoreError(failureText(db_) + " (statement: " + statementForMessage(sql) + ")");
}

SqliteBackend::Statement SqliteBackend::prepare(const std::string& sql) {
    requireSingleStatement(sql);
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr) !=
        SQLITE_OK)
        fail(sql);
    return Statement(raw);
}

SqliteStatementCache::Lease SqliteBackend::prepareKept(const std::string& sql) {
    if (SqliteStatementCache::Lease kept = kept_.find(sql)) return kept;
    Statement statement = prepare(sql);
    if (!statement) throw StoreError("The statement is empty");
    return kept_.keep(sql, std::move(statement));
}

void SqliteBackend::bind(sqlite3_stmt* statement, int index, const Value& value) {
    struct Visitor {
        sqlite3_stmt* s;
        int i;
        int operator()(std::monostate) const { return sqlite3_bind_null(s, i); }
        int operator()(bool v) const { return sqlite3_bind_int(s, i, v ? 1 : 0); }
        int operator()(std::int64_t v) const { return sqlite3_bind_int64(s, i, v); }
        int operator()(double v) const { return sqlite3_bind_double(s, i, v); }
        int operator()(const std::string& v) const {
            return sqlite3_bind_text64(s, i, v.data(), v.size(), SQLITE_STATIC, SQLITE_UTF8);
        }
        int operator()(DateTime v) const {
            const std::string text = timekeeping::isoDateTimeText(v);
            return sqlite3_bind_text64(s, i, text.data(), text.size(), SQLITE_TRANSIENT,
                                       SQLITE_UTF8);
        }
        int operator()(const Blob& v) const {
            return sqlite3_bind_blob64(s, i, v.bytes.data(), v.bytes.size(), SQLITE_STATIC);
        }
    };
    if (std::visit(Visitor{statement, index}, value.data()) != SQLITE_OK)
        fail(sqlite3_sql(statement));
}

std::int64_t SqliteBackend::run(sqlite3_stmt* statement, const std::string& sql) {
    const sqlite3_int64 before = sqlite3_total_changes64(db_);
    int rc = SQLITE_ROW;
    while (rc == SQLITE_ROW)
        rc = sqlite3_step(statement);
    if (rc != SQLITE_DONE) fail(sql);
    return changesSince(db_, before);
}

std::int64_t SqliteBackend::execute(const std::string& sql) {
    Statement statement = prepare(sql);
    if (!statement) // only blanks or comments
        return 0;
    return run(statement.get(), sql);
}

namespace {

// Steps a prepared read; the statement is finalized with the cursor. Closing the database
// first is safe: sqlite3_close_v2 waits for the last statement.
class SqliteCursor : public RowCursor {
  public:
    SqliteCursor(SqliteBackend::Statement statement, std::string sql)
        : statement_(std::move(statement)), sql_(std::move(sql)),
          changesBefore_(sqlite3_total_changes64(sqlite3_db_handle(statement_.get()))) {
        const int count = sqlite3_column_count(statement_.get());
        for (int c = 0; c < count; ++c)
            columns_.emplace_back(sqlite3_column_name(statement_.get(), c));
    }
    const std::vector<std::string>& columns() const override { return columns_; }

    // Steps to the next row without converting it; false at the end.
    bool step() {
        sqlite3_stmt* s = statement_.get();
        const int rc = sqlite3_step(s);
        if (rc == SQLITE_DONE) return false;
        if (rc != SQLITE_ROW)
            throw StoreError(failureText(sqlite3_db_handle(s)) +
                             " (statement: " + statementForMessage(sql_) + ")");
        return true;
    }
    std::int64_t affected() const override {
        return changesSince(sqlite3_db_handle(statement_.get()), changesBefore_);
    }
    std::int64_t firstColumnInt() { return sqlite3_column_int64(statement_.get(), 0); }

    bool next(std::vector<Value>& row) override {
        if (!step()) return false;
        row.resize(columns_.size());
        convert(0, row);
        return true;
    }

    // The current row's columns from `first` on, into row (sized to them).
    void convert(std::size_t first, std::vector<Value>& row) {
        sqlite3_stmt* s = statement_.get();
        for (std::size_t c = first; c < columns_.size(); ++c) {
            // One checked call per field. Reading the column's value object directly is safe
            // because a connection belongs to one thread (it is opened without a mutex).
            sqlite3_value* v = sqlite3_column_value(s, static_cast<int>(c));
            Value& field = row[c - first];
            switch (sqlite3_value_type(v)) {
            case SQLITE_INTEGER:
                field.assignInt(sqlite3_value_int64(v));
                break;
            case SQLITE_FLOAT:
                field = Value(sqlite3_value_double(v));
                break;
            case SQLITE_NULL:
                field = Value();
                break;
            case SQLITE_BLOB: {
                // The pointer comes first: it is null for an empty blob, and the size follows it.
                const auto* bytes = static_cast<const char*>(sqlite3_value_blob(v));
                const auto size = static_cast<std::size_t>(sqlite3_value_bytes(v));
                field = Value(Blob{bytes ? std::string(bytes, size) : std::string()});
                break;
            }
            default:
                field.assignText(reinterpret_cast<const char*>(sqlite3_value_text(v)),
                                 static_cast<std::size_t>(sqlite3_value_bytes(v)));
            }
        }
    }

  private:
    SqliteBackend::Statement statement_;
    std::string sql_;
    std::vector<std::string> columns_;
    sqlite3_int64 changesBefore_;
};

} // namespace

std::unique_ptr<RowCursor> SqliteBackend::openCursor(const std::string& sql) {
    Statement statement = prepare(sql);
    if (!statement) throw StoreError("The statement is empty");
    return std::make_unique<SqliteCursor>(std::move(statement), sql);
}

bool SqliteBackend::readsOnly(const std::string& sql) {
    const Statement statement = prepare(sql);
    // Blanks and comments run nothing.
    return !statement || sqlite3_stmt_readonly(statement.get()) != 0;
}

ResultSet SqliteBackend::query(const std::string& sql, bool updatable) {
    ResultSet result;
    const std::string text = readStatement(sql, updatable, result);
    return readRows(text, updatable, std::move(result));
}

// The engine runs the text as written, so the caller's analysis of it holds for the backend too.
ResultSet SqliteBackend::queryUpdatable(const std::string& sql, const SelectShape& shape) {
    ResultSet result;
    const std::string text = updatableStatement(sql, shape, result);
    return readRows(text, true, std::move(result));
}

ResultSet SqliteBackend::readRows(const std::string& text, bool updatable, ResultSet result) {
    Statement statement = prepare(text);
    if (!statement) throw StoreError("The statement is empty");
    SqliteCursor cursor(std::move(statement), text);
    result.columns = cursor.columns();
    if (!updatable) {
        std::vector<Value> row(result.columns.size());
        while (cursor.next(row))
            result.rows.push_back(row);
        result.affected = cursor.affected();
        return result;
    }
    // The first rows come whole: most writers look at one row and add or change it. Past them
    // only identities are kept, and a row is read by its identity when someone uses it.
    // The identity (a rowid, always an integer) travels beside the row, not as one of its fields;
    // the fields are read straight into the row kept.
    while (result.identities.size() < wholeRows && cursor.step()) {
        result.identities.emplace_back(static_cast<long long>(cursor.firstColumnInt()));
        cursor.convert(1, result.rows.emplace_back(result.columns.size() - 1));
    }
    if (result.identities.size() == wholeRows)
        while (cursor.step()) {
            result.identities.emplace_back(static_cast<long long>(cursor.firstColumnInt()));
            result.rows.emplace_back();
        }
    result.columns.erase(result.columns.begin());
    return result;
}

SqlBackend::Outcome SqliteBackend::executeBound(const std::string& sql,
                                                const std::vector<Value>& values) {
    const SqliteStatementCache::Lease statement = prepareKept(sql);
    for (std::size_t i = 0; i < values.size(); ++i)
        bind(statement.get(), static_cast<int>(i + 1), values[i]);
    return Outcome{run(statement.get(), sql), Value()};
}

Value SqliteBackend::lastInsertIdentity(const std::string& /*table*/) {
    return Value(static_cast<long long>(sqlite3_last_insert_rowid(db_)));
}

// Immediate: the write lock is taken at once, so a busy store waits here and not at commit.
void SqliteBackend::begin() {
    execute("begin immediate");
}
void SqliteBackend::commit() {
    execute("commit");
}
void SqliteBackend::rollback() {
    execute("rollback");
}

// The environment is read on every call, so a test or tool can point it elsewhere first.
std::filesystem::path defaultStorePath() {
    if (const char* store = std::getenv("VELMORA_STORE"); store && *store) return store;
    return files::dataHome() / "velmora" / "linkstore.db";
}

} // namespace velmora::ado
