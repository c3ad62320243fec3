// The link store through an ODBC data source (unixODBC's SQLDriverConnect), on whichever engine
// the data source names: its dialect comes from the engine's DBMS name.
#pragma once

#include "platform/ado/SqlBackend.h"

#include <sql.h>

namespace velmora::ado {

class OdbcBackend : public SqlBackend {
  public:
    // Raises StoreError with the driver manager's or driver's message when it cannot connect.
    // Read access asks the driver for a read-only connection (SQL_ATTR_ACCESS_MODE).
    explicit OdbcBackend(const std::string& connectionString,
                         StoreAccess access = StoreAccess::ReadWrite);
    ~OdbcBackend() override;

    std::int64_t execute(const std::string& sql) override;
    ResultSet query(const std::string& sql, bool updatable) override;
    bool readsOnly(const std::string& sql) override;
    void begin() override;
    void commit() override;
    void rollback() override;

  protected:
    Outcome executeBound(const std::string& sql, const std::vector<Value>& values) override;
    Value lastInsertIdentity(const std::string& table) override;

  private:
    class StatementHandle;

    void endTransaction(SQLSMALLINT completion);

    SQLHENV env_ = SQL_NULL_HENV;
    SQLHDBC dbc_ = SQL_NULL_HDBC;
    bool connected_ = false;
    bool manualCommit_ = false;
};

} // namespace velmora::ado
