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

std::int64_t SqlBackend::insertRow(const std::string& table,
                                   const std::vector<std::string>& columns,
                                   const std::vector<Value>& values) {
    std::string sql;
    if (columns.empty()) {
        sql = "insert into " + quoteIdentifier(table) + " default values";
    } else {
        std::string names;
        std::string marks;
        for (const auto& column : columns) {
            names += (names.empty() ? "" : ",") + quoteIdentifier(column);
            marks += marks.empty() ? "?" : ",?";
        }
        sql = "insert into " + quoteIdentifier(table) + " (" + names + ") values (" + marks + ")";
    }
    executeBound(sql, values);
    return lastInsertRowid(table);
}

void SqlBackend::updateRow(const std::string& table, std::int64_t rowid,
                           const std::vector<std::string>& columns,
                           const std::vector<Value>& values) {
    if (columns.empty()) return;
    std::string sql = "update " + quoteIdentifier(table) + " set ";
    for (std::size_t i = 0; i < columns.size(); ++i)
        sql += (i ? "," : "") + quoteIdentifier(columns[i]) + "=?";
    sql += " where rowid=?";
    std::vector<Value> bound = values;
    bound.emplace_back(static_cast<long long>(rowid));
    if (executeBound(sql, bound) == 0)
        throw StoreError("Row cannot be located for updating: row " + std::to_string(rowid) +
                         " of " + table + " was deleted since it was read");
}

void SqlBackend::deleteRow(const std::string& table, std::int64_t rowid) {
    const std::string sql = "delete from " + quoteIdentifier(table) + " where rowid=?";
    if (executeBound(sql, {Value(static_cast<long long>(rowid))}) == 0)
        throw StoreError("Row cannot be located for deleting: row " + std::to_string(rowid) +
                         " of " + table + " was deleted since it was read");
}

std::string SqlBackend::readStatement(const std::string& sql, bool updatable, ResultSet& result) {
    if (!updatable) return sql;
    const SelectShape shape = analyzeSelect(sql);
    if (!shape.updatable)
        throw StoreError("The rows cannot be opened for changes: " + shape.reason +
                         " (statement: " + statementForMessage(sql) + ")");
    result.table = shape.table;
    return shape.withRowid;
}

} // namespace velmora::ado
