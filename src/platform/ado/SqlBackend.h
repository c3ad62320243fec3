// What the SQLite and ODBC back ends share: both name rows by their engine's row identity,
// change them with statements whose values are bound, and read updatable rows by identity.
#pragma once

#include "platform/ado/Connection.h"
#include "platform/ado/Dialect.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace velmora::ado {

class SqlBackend : public Backend {
  public:
    SqlBackend(const SqlBackend&) = delete;
    SqlBackend& operator=(const SqlBackend&) = delete;

    // The rows fetched whole: no statement outlives the call, whatever the caller does with the
    // connection meanwhile. A back end that can walk rows as they come overrides it.
    std::unique_ptr<RowCursor> openCursor(const std::string& sql) override;
    Value insertRow(const std::string& table, const std::vector<std::string>& columns,
                    const std::vector<Value>& values) override;
    void updateRow(const std::string& table, const Value& identity,
                   const std::vector<std::string>& columns,
                   const std::vector<Value>& values) override;
    void deleteRow(const std::string& table, const Value& identity) override;
    std::optional<std::vector<Value>> readRow(const std::string& table,
                                              const std::string& selectList,
                                              const Value& identity) override;
    const Dialect& dialect() const override { return *dialect_; }

  protected:
    // An updatable read takes this many rows whole and only the identities of the rest: most
    // writers look at one row, and a later row read when used shows the store's values.
    static constexpr std::size_t wholeRows = 16;

    explicit SqlBackend(std::unique_ptr<Dialect> dialect) : dialect_(std::move(dialect)) {}
    void setDialect(std::unique_ptr<Dialect> dialect) { dialect_ = std::move(dialect); }

    // What a bound statement did: the rows it changed, and the first value it returned (the
    // identity a "returning" clause hands back).
    struct Outcome {
        std::int64_t affected = 0;
        Value returned;
    };
    // Runs one statement with its "?" marks bound to the values in order.
    virtual Outcome executeBound(const std::string& sql, const std::vector<Value>& values) = 0;
    // The identity of the row the last insert on this connection added, here to table, for an
    // engine whose inserts do not return it.
    virtual Value lastInsertIdentity(const std::string& table) = 0;
    // The statement a read runs: for an updatable read, the select reading the row identity as
    // its first column, with result.table set. Raises StoreError when the rows cannot be changed.
    std::string readStatement(const std::string& sql, bool updatable, ResultSet& result) const;
    // The same for a select already analysed.
    std::string updatableStatement(const std::string& sql, const SelectShape& shape,
                                   ResultSet& result) const;

  private:
    std::unique_ptr<Dialect> dialect_;
};

} // namespace velmora::ado
