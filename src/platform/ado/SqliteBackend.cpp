// The embedded link store over the sqlite3 API. Values are bound as parameters when rows are
// added or changed, so no value is ever spliced into a statement here.
#include "platform/ado/SqliteBackend.h"

#include "platform/ado/StatementText.h"

#include <sqlite3.h>

#include <variant>

namespace velmora::ado {

namespace {

// The companion program may hold the write lock for a moment; wait rather than fail at once.
constexpr int busyTimeoutMs = 5000;

std::string insertText(const std::string& table, const std::vector<std::string>& columns) {
    if (columns.empty()) return "insert into " + quoteIdentifier(table) + " default values";
    std::string names;
    std::string marks;
    for (const auto& column : columns) {
        names += (names.empty() ? "" : ",") + quoteIdentifier(column);
        marks += marks.empty() ? "?" : ",?";
    }
    return "insert into " + quoteIdentifier(table) + " (" + names + ") values (" + marks + ")";
}

} // namespace

void SqliteBackend::Finalizer::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

SqliteBackend::SqliteBackend(const std::string& path) : path_(path) {
    const int rc =
        sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc != SQLITE_OK) {
        const std::string message = db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc);
        sqlite3_close(db_);
        db_ = nullptr;
        throw StoreError("Cannot open the link store '" + path + "': " + message);
    }
    sqlite3_extended_result_codes(db_, 0);
    sqlite3_busy_timeout(db_, busyTimeoutMs);
    try {
        // The journal mode statement is also the first read: a file that is not a database
        // fails here rather than at the first statement of the add-in.
        if (path != ":memory:" && !path.empty())
            query("pragma journal_mode=wal", false);
        else
            query("select count(*) from sqlite_master", false);
        execute("pragma foreign_keys=off");
    } catch (const StoreError& e) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw StoreError("Cannot open the link store '" + path + "': " + e.what());
    }
}

SqliteBackend::~SqliteBackend() {
    // Statements are finalized by their owners before this; close_v2 tolerates stragglers.
    sqlite3_close_v2(db_);
}

void SqliteBackend::fail(const std::string& sql) const {
    throw StoreError(std::string(sqlite3_errmsg(db_)) + " (statement: " + statementForMessage(sql) +
                     ")");
}

SqliteBackend::Statement SqliteBackend::prepare(const std::string& sql) {
    requireSingleStatement(sql);
    sqlite3_stmt* raw = nullptr;
    if (sqlite3_prepare_v2(db_, sql.c_str(), static_cast<int>(sql.size()), &raw, nullptr) !=
        SQLITE_OK)
        fail(sql);
    return Statement(raw);
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
            const std::string text = formatDateTime(v);
            return sqlite3_bind_text64(s, i, text.data(), text.size(), SQLITE_TRANSIENT,
                                       SQLITE_UTF8);
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
    // sqlite3_changes keeps the last change count across DDL; only trust it when rows moved.
    return sqlite3_total_changes64(db_) == before ? 0 : sqlite3_changes64(db_);
}

std::int64_t SqliteBackend::execute(const std::string& sql) {
    Statement statement = prepare(sql);
    if (!statement) // only blanks or comments
        return 0;
    return run(statement.get(), sql);
}

ResultSet SqliteBackend::query(const std::string& sql, bool updatable) {
    ResultSet result;
    std::string text = sql;
    if (updatable) {
        const SelectShape shape = analyzeSelect(sql);
        if (!shape.updatable)
            throw StoreError("The rows cannot be opened for changes: " + shape.reason +
                             " (statement: " + statementForMessage(sql) + ")");
        text = shape.withRowid;
        result.table = shape.table;
    }
    Statement statement = prepare(text);
    if (!statement) throw StoreError("The statement is empty");
    sqlite3_stmt* s = statement.get();
    const int count = sqlite3_column_count(s);
    const int first = updatable ? 1 : 0;
    for (int c = first; c < count; ++c)
        result.columns.emplace_back(sqlite3_column_name(s, c));

    int rc = SQLITE_OK;
    while ((rc = sqlite3_step(s)) == SQLITE_ROW) {
        if (updatable) result.rowids.push_back(sqlite3_column_int64(s, 0));
        std::vector<Value>& row = result.rows.emplace_back();
        row.reserve(static_cast<std::size_t>(count - first));
        for (int c = first; c < count; ++c) {
            switch (sqlite3_column_type(s, c)) {
            case SQLITE_INTEGER:
                row.emplace_back(static_cast<long long>(sqlite3_column_int64(s, c)));
                break;
            case SQLITE_FLOAT:
                row.emplace_back(sqlite3_column_double(s, c));
                break;
            case SQLITE_NULL:
                row.emplace_back();
                break;
            default: {
                // Text and blobs alike arrive as bytes; the store keeps text only.
                const auto* bytes = reinterpret_cast<const char*>(sqlite3_column_text(s, c));
                row.emplace_back(
                    std::string(bytes, static_cast<std::size_t>(sqlite3_column_bytes(s, c))));
            }
            }
        }
    }
    if (rc != SQLITE_DONE) fail(text);
    return result;
}

std::int64_t SqliteBackend::insertRow(const std::string& table,
                                      const std::vector<std::string>& columns,
                                      const std::vector<Value>& values) {
    const std::string sql = insertText(table, columns);
    Statement statement = prepare(sql);
    for (std::size_t i = 0; i < values.size(); ++i)
        bind(statement.get(), static_cast<int>(i + 1), values[i]);
    run(statement.get(), sql);
    return sqlite3_last_insert_rowid(db_);
}

void SqliteBackend::updateRow(const std::string& table, std::int64_t rowid,
                              const std::vector<std::string>& columns,
                              const std::vector<Value>& values) {
    if (columns.empty()) return;
    std::string sql = "update " + quoteIdentifier(table) + " set ";
    for (std::size_t i = 0; i < columns.size(); ++i)
        sql += (i ? "," : "") + quoteIdentifier(columns[i]) + "=?";
    sql += " where rowid=?";
    Statement statement = prepare(sql);
    for (std::size_t i = 0; i < values.size(); ++i)
        bind(statement.get(), static_cast<int>(i + 1), values[i]);
    sqlite3_bind_int64(statement.get(), static_cast<int>(values.size() + 1), rowid);
    if (run(statement.get(), sql) == 0)
        throw StoreError("Row cannot be located for updating: row " + std::to_string(rowid) +
                         " of " + table + " was deleted since it was read");
}

void SqliteBackend::deleteRow(const std::string& table, std::int64_t rowid) {
    const std::string sql = "delete from " + quoteIdentifier(table) + " where rowid=?";
    Statement statement = prepare(sql);
    sqlite3_bind_int64(statement.get(), 1, rowid);
    if (run(statement.get(), sql) == 0)
        throw StoreError("Row cannot be located for deleting: row " + std::to_string(rowid) +
                         " of " + table + " was deleted since it was read");
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
void SqliteBackend::savepoint(const std::string& name) {
    execute("savepoint " + quoteIdentifier(name));
}
void SqliteBackend::release(const std::string& name) {
    execute("release savepoint " + quoteIdentifier(name));
}
void SqliteBackend::rollbackTo(const std::string& name) {
    execute("rollback to savepoint " + quoteIdentifier(name));
}

} // namespace velmora::ado
