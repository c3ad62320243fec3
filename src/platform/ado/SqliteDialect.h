// SQLite, the embedded default: rows are named by rowid, an added row's id is the connection's
// last insert rowid, and the add-in's statements run as written.
#pragma once

#include "platform/ado/Dialect.h"

namespace velmora::ado {

class SqliteDialect : public Dialect {
  public:
    SqliteDialect() : Dialect("SQLite") {}
    std::string_view rowIdentity() const override { return "rowid"; }
    std::string_view lastInsertQuery() const override { return "select last_insert_rowid()"; }
};

} // namespace velmora::ado
