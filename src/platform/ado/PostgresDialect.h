// PostgreSQL through its ODBC driver: rows are named by ctid, which inserts and updates hand back
// with "returning", unquoted names fold to lower case, and yes/no literals become numbers.
#pragma once

#include "platform/ado/Dialect.h"

namespace velmora::ado {

class PostgresDialect : public Dialect {
  public:
    PostgresDialect() : Dialect("PostgreSQL") {}
    // A row's physical position: it moves with every update, so updates return the new one.
    std::string_view rowIdentity() const override { return "ctid"; }
    bool returnsIdentity() const override { return true; }
    std::string name(const std::string& identifier) const override;
    std::string translate(const std::string& sql) const override;
    // A lock held by another program is waited for as long as SQLite's busy wait, not for ever.
    std::vector<std::string> sessionSetup() const override { return {"set lock_timeout = '5s'"}; }
    std::string lockTables(const std::vector<std::string>& tables) const override;
};

} // namespace velmora::ado
