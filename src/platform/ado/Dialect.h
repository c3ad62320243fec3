// How one database engine differs from the statements the add-in writes: how it names a row,
// how an added row's identity comes back, and the rewrites a statement needs before it is sent.
#pragma once

#include "platform/ado/Value.h"

#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace velmora::ado {

// The engine behind a connection, as far as statements and row identity go. The base class is
// plain standard SQL on an engine this layer cannot name rows on: it reads and runs statements,
// and refuses to change rows field by field.
class Dialect {
  public:
    virtual ~Dialect() = default;

    // The engine's name as its data source reports it.
    const std::string& engine() const { return engine_; }
    // The pseudo-column that names one row of any table, read first by an updatable select;
    // empty when the engine has none this layer knows.
    virtual std::string_view rowIdentity() const { return {}; }
    // The column the schema adds to every table so that rows have an identity, with its type;
    // empty where the engine names rows itself.
    virtual std::string identityColumn() const { return {}; }
    // Whether an insert hands the added row's identity back with "returning"; otherwise it
    // comes from the back end.
    virtual bool returnsIdentity() const { return false; }
    // The query whose one value is the identity of the row the connection's last insert added,
    // for an engine whose inserts do not return it; empty when there is none.
    virtual std::string_view lastInsertQuery() const { return {}; }
    // A table or column name in a statement this layer writes.
    virtual std::string name(const std::string& identifier) const;
    // The statement as this engine accepts it; the same text where the engine takes it as is.
    virtual std::string translate(const std::string& sql) const { return sql; }

    // Statements run once on every new connection.
    virtual std::vector<std::string> sessionSetup() const { return {}; }
    // The statement that, inside a transaction, takes the write lock on the named tables the
    // way a program holding the whole store would; empty where beginning it does so already.
    virtual std::string lockTables(const std::vector<std::string>& /*tables*/) const { return {}; }

    // "<identity>=<value>", the condition that finds one row again.
    std::string identityCondition(const Value& identity) const;

    explicit Dialect(std::string engine) : engine_(std::move(engine)) {}

  private:
    std::string engine_;
};

// The dialect of the engine an ODBC data source names (its DBMS name): SQLite, PostgreSQL, or
// the plain one for any other engine.
std::unique_ptr<Dialect> dialectForEngine(std::string_view engine);

} // namespace velmora::ado
