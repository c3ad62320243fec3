// The link store through ODBC: statements run with SQLExecDirect in the engine's dialect, added
// and changed rows go through prepared statements with bound parameters, transactions use the
// manual-commit mode.
#include "platform/ado/OdbcBackend.h"

#include "platform/ado/StatementText.h"
#include "platform/text/AsciiText.h"

#include <sqlext.h>

#include <array>
#include <charconv>
#include <optional>
#include <system_error>
#include <variant>

namespace velmora::ado {

namespace {

// Every diagnostic record of a handle, as "[SQLSTATE] message" joined by "; ".
std::string diagnostics(SQLSMALLINT type, SQLHANDLE handle) {
    std::string out;
    for (SQLSMALLINT record = 1;; ++record) {
        std::array<SQLCHAR, 6> state{};
        std::array<SQLCHAR, 1024> message{};
        SQLINTEGER native = 0;
        SQLSMALLINT length = 0;
        const SQLRETURN rc =
            SQLGetDiagRec(type, handle, record, state.data(), &native, message.data(),
                          static_cast<SQLSMALLINT>(message.size()), &length);
        if (!SQL_SUCCEEDED(rc)) break;
        if (!out.empty()) out += "; ";
        out += "[" + std::string(reinterpret_cast<const char*>(state.data())) + "] " +
               std::string(reinterpret_cast<const char*>(message.data()));
    }
    return out.empty() ? "the ODBC driver gave no description" : out;
}

// The connection string as it may appear in a message: the password is not repeated.
std::string withoutPassword(const std::string& connectionString) {
    std::string out;
    std::size_t start = 0;
    while (start <= connectionString.size()) {
        std::size_t end = connectionString.find(';', start);
        if (end == std::string::npos) end = connectionString.size();
        std::string part = connectionString.substr(start, end - start);
        const auto equals = part.find('=');
        if (equals != std::string::npos && equals + 1 < part.size()) {
            const std::string key = text::lower(part.substr(0, equals));
            if (key.find("pwd") != std::string::npos || key.find("password") != std::string::npos)
                part = part.substr(0, equals + 1) + "***";
        }
        out += (start ? ";" : "") + part;
        start = end + 1;
    }
    return out;
}

bool isIntegerType(SQLSMALLINT type) {
    return type == SQL_INTEGER || type == SQL_SMALLINT || type == SQL_TINYINT ||
           type == SQL_BIGINT || type == SQL_BIT;
}

bool isBinaryType(SQLSMALLINT type) {
    return type == SQL_BINARY || type == SQL_VARBINARY || type == SQL_LONGVARBINARY;
}

bool isRealType(SQLSMALLINT type) {
    return type == SQL_REAL || type == SQL_FLOAT || type == SQL_DOUBLE || type == SQL_NUMERIC ||
           type == SQL_DECIMAL;
}

// SQLite keeps any value in any column, so values are read as text and turned into numbers
// only when the column is numeric and the text really is a number.
Value typed(std::string text, SQLSMALLINT type) {
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    if (isIntegerType(type)) {
        long long i = 0;
        const auto [last, ec] = std::from_chars(begin, end, i);
        if (ec == std::errc() && last == end && !text.empty()) return Value(i);
    }
    if (isRealType(type) || isIntegerType(type)) {
        double d = 0;
        const auto [last, ec] = std::from_chars(begin, end, d);
        if (ec == std::errc() && last == end && !text.empty()) return Value(d);
    }
    return Value(std::move(text));
}

} // namespace

class OdbcBackend::StatementHandle {
  public:
    explicit StatementHandle(SQLHDBC dbc) {
        if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_STMT, dbc, &handle_)))
            throw StoreError("Cannot allocate an ODBC statement: " +
                             diagnostics(SQL_HANDLE_DBC, dbc));
    }
    ~StatementHandle() { SQLFreeHandle(SQL_HANDLE_STMT, handle_); }
    StatementHandle(const StatementHandle&) = delete;
    StatementHandle& operator=(const StatementHandle&) = delete;
    SQLHSTMT get() const { return handle_; }

    // SQL_NO_DATA is a searched change that matched no row, not a failure.
    void check(SQLRETURN rc, const std::string& sql) const {
        if (!SQL_SUCCEEDED(rc) && rc != SQL_NO_DATA)
            throw StoreError(diagnostics(SQL_HANDLE_STMT, handle_) +
                             " (statement: " + statementForMessage(sql) + ")");
    }

    std::int64_t rowCount() const {
        SQLLEN count = 0;
        if (!SQL_SUCCEEDED(SQLRowCount(handle_, &count)) || count < 0) return 0;
        return count;
    }

    using Buffer = std::array<char, 4096>;

    // One column of the fetched row as text (SQL_C_CHAR) or bytes (SQL_C_BINARY); nothing for
    // a null. A long value arrives in pieces, each but the last filling the buffer.
    std::optional<std::string> data(SQLUSMALLINT column, SQLSMALLINT cType, Buffer& buffer,
                                    const std::string& sql) const {
        // Text pieces end in a zero that is not part of the value.
        const std::size_t room = buffer.size() - (cType == SQL_C_CHAR ? 1 : 0);
        std::string value;
        for (;;) {
            SQLLEN indicator = 0;
            const SQLRETURN rc = SQLGetData(handle_, column, cType, buffer.data(),
                                            static_cast<SQLLEN>(buffer.size()), &indicator);
            if (rc == SQL_NO_DATA) break;
            check(rc, sql);
            if (indicator == SQL_NULL_DATA) return std::nullopt;
            const bool truncated =
                rc == SQL_SUCCESS_WITH_INFO &&
                (indicator == SQL_NO_TOTAL || static_cast<std::size_t>(indicator) > room);
            value.append(buffer.data(), truncated ? room : static_cast<std::size_t>(indicator));
            if (!truncated) break;
        }
        return value;
    }

  private:
    SQLHSTMT handle_ = SQL_NULL_HSTMT;
};

OdbcBackend::OdbcBackend(const std::string& connectionString, StoreAccess access)
    : SqlBackend(std::make_unique<Dialect>("ODBC")) {
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_ENV, SQL_NULL_HANDLE, &env_)))
        throw StoreError("Cannot start the ODBC driver manager");
    SQLSetEnvAttr(env_, SQL_ATTR_ODBC_VERSION, reinterpret_cast<SQLPOINTER>(SQL_OV_ODBC3), 0);
    if (!SQL_SUCCEEDED(SQLAllocHandle(SQL_HANDLE_DBC, env_, &dbc_))) {
        const std::string message = diagnostics(SQL_HANDLE_ENV, env_);
        SQLFreeHandle(SQL_HANDLE_ENV, env_);
        throw StoreError("Cannot allocate an ODBC connection: " + message);
    }
    if (access == StoreAccess::Read)
        SQLSetConnectAttr(dbc_, SQL_ATTR_ACCESS_MODE,
                          reinterpret_cast<SQLPOINTER>(SQL_MODE_READ_ONLY), SQL_IS_UINTEGER);
    std::string text = connectionString;
    const SQLRETURN rc = SQLDriverConnect(dbc_, nullptr, reinterpret_cast<SQLCHAR*>(text.data()),
                                          SQL_NTS, nullptr, 0, nullptr, SQL_DRIVER_NOPROMPT);
    if (!SQL_SUCCEEDED(rc)) {
        const std::string message = diagnostics(SQL_HANDLE_DBC, dbc_);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
        SQLFreeHandle(SQL_HANDLE_ENV, env_);
        throw StoreError("Cannot connect to the data source '" + withoutPassword(connectionString) +
                         "': " + message);
    }
    connected_ = true;
    // The engine behind the data source decides how rows are named and statements rewritten.
    std::array<SQLCHAR, 256> engine{};
    SQLSMALLINT length = 0;
    SQLGetInfo(dbc_, SQL_DBMS_NAME, engine.data(), static_cast<SQLSMALLINT>(engine.size()),
               &length);
    setDialect(dialectForEngine(reinterpret_cast<const char*>(engine.data())));
    try {
        for (const std::string& setup : dialect().sessionSetup())
            execute(setup);
    } catch (...) {
        SQLDisconnect(dbc_);
        SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
        SQLFreeHandle(SQL_HANDLE_ENV, env_);
        throw;
    }
}

OdbcBackend::~OdbcBackend() {
    // A disconnect inside an open transaction is refused; what was not committed is dropped.
    if (manualCommit_) SQLEndTran(SQL_HANDLE_DBC, dbc_, SQL_ROLLBACK);
    if (connected_) SQLDisconnect(dbc_);
    SQLFreeHandle(SQL_HANDLE_DBC, dbc_);
    SQLFreeHandle(SQL_HANDLE_ENV, env_);
}

std::int64_t OdbcBackend::execute(const std::string& sql) {
    requireSingleStatement(sql);
    StatementHandle statement(dbc_);
    std::string text = dialect().translate(sql);
    const SQLRETURN rc =
        SQLExecDirect(statement.get(), reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS);
    statement.check(rc, sql);
    return rc == SQL_NO_DATA ? 0 : statement.rowCount();
}

ResultSet OdbcBackend::query(const std::string& sql, bool updatable) {
    ResultSet result;
    std::string text = readStatement(dialect().translate(sql), updatable, result);
    requireSingleStatement(text);
    StatementHandle statement(dbc_);
    SQLHSTMT s = statement.get();
    const SQLRETURN ran = SQLExecDirect(s, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS);
    statement.check(ran, text);

    SQLSMALLINT count = 0;
    statement.check(SQLNumResultCols(s, &count), text);
    if (count == 0) {
        result.affected = ran == SQL_NO_DATA ? 0 : statement.rowCount();
        return result;
    }
    std::vector<SQLSMALLINT> types;
    for (SQLSMALLINT c = 1; c <= count; ++c) {
        std::array<SQLCHAR, 512> name{};
        SQLSMALLINT nameLength = 0;
        SQLSMALLINT type = 0;
        SQLULEN size = 0;
        SQLSMALLINT digits = 0;
        SQLSMALLINT nullable = 0;
        statement.check(SQLDescribeCol(s, c, name.data(), static_cast<SQLSMALLINT>(name.size()),
                                       &nameLength, &type, &size, &digits, &nullable),
                        text);
        types.push_back(type);
        if (!updatable || c > 1)
            result.columns.emplace_back(reinterpret_cast<const char*>(name.data()));
    }

    StatementHandle::Buffer buffer{};
    for (;;) {
        const SQLRETURN fetched = SQLFetch(s);
        if (fetched == SQL_NO_DATA) break;
        statement.check(fetched, text);
        std::vector<Value> row;
        const bool identityOnly = updatable && result.identities.size() >= wholeRows;
        row.reserve(static_cast<std::size_t>(count));
        const SQLSMALLINT last = identityOnly ? SQLSMALLINT{1} : count;
        for (SQLSMALLINT c = 1; c <= last; ++c) {
            const SQLSMALLINT type = types[static_cast<std::size_t>(c - 1)];
            const bool binary = isBinaryType(type);
            std::optional<std::string> value =
                statement.data(c, binary ? SQL_C_BINARY : SQL_C_CHAR, buffer, text);
            if (updatable && c == 1)
                result.identities.push_back(typed(value.value_or(""), type));
            else if (!value)
                row.emplace_back();
            else if (binary)
                row.emplace_back(Blob{std::move(*value)});
            else
                row.push_back(typed(std::move(*value), type));
        }
        result.rows.push_back(std::move(row));
    }
    return result;
}

bool OdbcBackend::readsOnly(const std::string& sql) {
    requireSingleStatement(sql);
    StatementHandle statement(dbc_);
    std::string text = dialect().translate(sql);
    statement.check(SQLPrepare(statement.get(), reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS),
                    sql);
    // ODBC cannot say whether a statement writes; one that yields rows is taken for a read.
    SQLSMALLINT count = 0;
    statement.check(SQLNumResultCols(statement.get(), &count), sql);
    return count > 0;
}

SqlBackend::Outcome OdbcBackend::executeBound(const std::string& sql,
                                              const std::vector<Value>& values) {
    StatementHandle statement(dbc_);
    SQLHSTMT s = statement.get();
    std::string text = sql;
    statement.check(SQLPrepare(s, reinterpret_cast<SQLCHAR*>(text.data()), SQL_NTS), sql);

    // Bound buffers must stay where they are until SQLExecute: sized once, never grown.
    struct Parameter {
        long long integer = 0;
        double real = 0;
        std::string text;
        SQLLEN indicator = 0;
    };
    std::vector<Parameter> parameters(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        Parameter& p = parameters[i];
        const auto number = static_cast<SQLUSMALLINT>(i + 1);
        const Value::Data& data = values[i].data();
        SQLRETURN rc = SQL_SUCCESS;
        if (std::holds_alternative<std::int64_t>(data) || std::holds_alternative<bool>(data)) {
            p.integer = values[i].toInt();
            rc = SQLBindParameter(s, number, SQL_PARAM_INPUT, SQL_C_SBIGINT, SQL_BIGINT, 0, 0,
                                  &p.integer, 0, nullptr);
        } else if (std::holds_alternative<double>(data)) {
            p.real = std::get<double>(data);
            rc = SQLBindParameter(s, number, SQL_PARAM_INPUT, SQL_C_DOUBLE, SQL_DOUBLE, 0, 0,
                                  &p.real, 0, nullptr);
        } else if (const auto* blob = std::get_if<Blob>(&data)) {
            p.text = blob->bytes;
            p.indicator = static_cast<SQLLEN>(p.text.size());
            rc = SQLBindParameter(s, number, SQL_PARAM_INPUT, SQL_C_BINARY, SQL_VARBINARY,
                                  p.text.empty() ? 1 : p.text.size(), 0, p.text.data(),
                                  static_cast<SQLLEN>(p.text.size()), &p.indicator);
        } else if (values[i].isNull()) {
            p.indicator = SQL_NULL_DATA;
            rc = SQLBindParameter(s, number, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR, 1, 0,
                                  nullptr, 0, &p.indicator);
        } else {
            p.text = values[i].text();
            p.indicator = static_cast<SQLLEN>(p.text.size());
            rc = SQLBindParameter(s, number, SQL_PARAM_INPUT, SQL_C_CHAR, SQL_VARCHAR,
                                  p.text.empty() ? 1 : p.text.size(), 0, p.text.data(),
                                  static_cast<SQLLEN>(p.text.size()), &p.indicator);
        }
        statement.check(rc, sql);
    }
    const SQLRETURN rc = SQLExecute(s);
    statement.check(rc, sql);
    Outcome outcome;
    SQLSMALLINT columns = 0;
    statement.check(SQLNumResultCols(s, &columns), sql);
    if (columns == 0) {
        outcome.affected = rc == SQL_NO_DATA ? 0 : statement.rowCount();
        return outcome;
    }
    // A "returning" clause: one row per row changed, its first value the row's identity.
    StatementHandle::Buffer buffer{};
    for (SQLRETURN fetched = SQLFetch(s); fetched != SQL_NO_DATA; fetched = SQLFetch(s)) {
        statement.check(fetched, sql);
        if (outcome.affected++ == 0)
            if (std::optional<std::string> value = statement.data(1, SQL_C_CHAR, buffer, sql))
                outcome.returned = Value(std::move(*value));
    }
    return outcome;
}

Value OdbcBackend::lastInsertIdentity(const std::string& table) {
    const std::string_view asked = dialect().lastInsertQuery();
    if (asked.empty())
        throw StoreError("The data source's engine (" + dialect().engine() +
                         ") gives no identity for the row added to " + table);
    const ResultSet id = query(std::string(asked), false);
    if (id.rows.empty() || id.rows[0].empty() || id.rows[0][0].isNull())
        throw StoreError("The data source gave no id for the row added to " + table);
    return id.rows[0][0];
}

void OdbcBackend::begin() {
    const SQLRETURN rc =
        SQLSetConnectAttr(dbc_, SQL_ATTR_AUTOCOMMIT,
                          reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_OFF), SQL_IS_UINTEGER);
    if (!SQL_SUCCEEDED(rc))
        throw StoreError("Cannot begin a transaction: " + diagnostics(SQL_HANDLE_DBC, dbc_));
    manualCommit_ = true;
}

void OdbcBackend::endTransaction(SQLSMALLINT completion) {
    if (!SQL_SUCCEEDED(SQLEndTran(SQL_HANDLE_DBC, dbc_, completion)))
        throw StoreError(
            std::string(completion == SQL_COMMIT ? "Cannot commit: " : "Cannot roll back: ") +
            diagnostics(SQL_HANDLE_DBC, dbc_));
    SQLSetConnectAttr(dbc_, SQL_ATTR_AUTOCOMMIT, reinterpret_cast<SQLPOINTER>(SQL_AUTOCOMMIT_ON),
                      SQL_IS_UINTEGER);
    manualCommit_ = false;
}

void OdbcBackend::commit() {
    endTransaction(SQL_COMMIT);
}
void OdbcBackend::rollback() {
    endTransaction(SQL_ROLLBACK);
}

} // namespace velmora::ado
