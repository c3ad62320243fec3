// The row changes and the updatable-read prologue both back ends share.
// A change that touches no row means another writer deleted it since it was read.
#include "platform/ado/SqlBackend.h"

#include "platform/ado/StatementText.h"

#include <utility>

namespace velmora::ado {

namespace {

class FetchedCursor : public RowCursor {
  public:
    explicit FetchedCursor(ResultSet rows) : rows_(std::move(rows)) {}
    const std::vector<std::string>& columns() const override { return rows_.columns; }
    bool next(std::vector<Value>& row) override {
        if (next_ >= rows_.rows.size()) return false;
        row = std::move(rows_.rows[next_++]);
        return true;
    }
    std::int64_t affected() const override { return rows_.affected; }

  private:
    ResultSet rows_;
    std::size_t next_ = 0;
};

} // namespace

std::unique_ptr<RowCursor> SqlBackend::openCursor(const std::string& sql) {
    return std::make_unique<FetchedCursor>(query(sql, false));
}

Value SqlBackend::insertRow(const std::string& table, const std::vector<std::string>& columns,
                            const std::vector<Value>& values) {
    const Dialect& d = dialect();
    std::string sql;
    if (columns.empty()) {
        sql = "insert into " + d.name(table) + " default values";
    } else {
        std::string names;
        std::string marks;
        for (const auto& column : columns) {
            names += (names.empty() ? "" : ",") + d.name(column);
            marks += marks.empty() ? "?" : ",?";
        }
        sql = "insert into " + d.name(table) + " (" + names + ") values (" + marks + ")";
    }
    if (!d.returnsIdentity()) {
        executeBound(sql, values);
        return lastInsertIdentity(table);
    }
    Outcome outcome = executeBound(sql + " returning " + std::string(d.rowIdentity()), values);
    if (outcome.returned.isNull())
        throw StoreError("The data source gave no identity for the row added to " + table);
    return std::move(outcome.returned);
}

void SqlBackend::updateRow(const std::string& table, const Value& identity,
                           const std::vector<std::string>& columns,
                           const std::vector<Value>& values) {
    if (columns.empty()) return;
    const Dialect& d = dialect();
    std::string sql = "update " + d.name(table) + " set ";
    for (std::size_t i = 0; i < columns.size(); ++i)
        sql += (i ? "," : "") + d.name(columns[i]) + "=?";
    sql += " where " + d.identityCondition(identity);
    if (executeBound(sql, values).affected == 0)
        throw StoreError("Row cannot be located for updating: row " + identity.text() + " of " +
                         table + " was deleted since it was read");
}

void SqlBackend::deleteRow(const std::string& table, const Value& identity) {
    const Dialect& d = dialect();
    const std::string sql =
        "delete from " + d.name(table) + " where " + d.identityCondition(identity);
    if (executeBound(sql, {}).affected == 0)
        throw StoreError("Row cannot be located for deleting: row " + identity.text() + " of " +
                         table + " was deleted since it was read");
}

std::optional<std::vector<Value>> SqlBackend::readRow(const std::string& table,
                                                      const std::string& selectList,
                                                      const Value& identity) {
    SelectShape shape;
    shape.selectList = selectList;
    ResultSet again = query(
        rowReread(shape, dialect().name(table), dialect().identityCondition(identity)), false);
    if (again.rows.empty()) return std::nullopt;
    return std::move(again.rows.front());
}

std::string SqlBackend::readStatement(const std::string& sql, bool updatable,
                                      ResultSet& result) const {
    if (!updatable) return sql;
    return updatableStatement(sql, analyzeSelect(sql), result);
}

std::string SqlBackend::updatableStatement(const std::string& sql, const SelectShape& shape,
                                           ResultSet& result) const {
    if (!shape.updatable)
        throw StoreError("The rows cannot be opened for changes: " + shape.reason +
                         " (statement: " + statementForMessage(sql) + ")");
    if (dialect().rowIdentity().empty())
        throw StoreError("The rows cannot be opened for changes: the data source's engine (" +
                         dialect().engine() +
                         ") has no row identifier this program knows; the link store can change "
                         "rows on SQLite and PostgreSQL (statement: " +
                         statementForMessage(sql) + ")");
    result.table = shape.table;
    return withIdentity(shape, dialect().rowIdentity());
}

} // namespace velmora::ado
