// What the SQLite and ODBC back ends share: both reach rows by SQLite's rowid, change them with
// statements whose values are bound, and read updatable rows by the select rewritten to say so.
#pragma once

#include "platform/ado/Connection.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velmora::ado {

class SqlBackend : public Backend {
  public:
    SqlBackend() = default;
    SqlBackend(const SqlBackend&) = delete;
    SqlBackend& operator=(const SqlBackend&) = delete;

    // The rows fetched whole: no statement outlives the call, whatever the caller does with the
    // connection meanwhile. A back end that can walk rows as they come overrides it.
    std::unique_ptr<RowCursor> openCursor(const std::string& sql) override;
    std::int64_t insertRow(const std::string& table, const std::vector<std::string>& columns,
                           const std::vector<Value>& values) override;
    void updateRow(const std::string& table, std::int64_t rowid,
                   const std::vector<std::string>& columns,
                   const std::vector<Value>& values) override;
    void deleteRow(const std::string& table, std::int64_t rowid) override;

  protected:
    // Runs one statement with its "?" marks bound to the values in order; returns the rows it
    // changed.
    virtual std::int64_t executeBound(const std::string& sql, const std::vector<Value>& values) = 0;
    // The rowid the last insert on this connection gave, here into table.
    virtual std::int64_t lastInsertRowid(const std::string& table) = 0;
    // The statement a read runs: for an updatable read, the select reading the row identity as
    // its first column, with result.table set. Raises StoreError when the rows cannot be changed.
    static std::string readStatement(const std::string& sql, bool updatable, ResultSet& result);
};

} // namespace velmora::ado
