// Prepared statements of the embedded store kept by their text: the statements the layer writes
// itself (a row's insert, update or delete) are prepared once and reset between uses.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct sqlite3_stmt;

namespace velmora::ado {

class SqliteStatementCache {
  public:
    struct Finalizer {
        void operator()(sqlite3_stmt* statement) const;
    };
    using Statement = std::unique_ptr<sqlite3_stmt, Finalizer>;
    // Ends one use of a kept statement: it is reset and its bound values are let go, so no
    // pointer to a caller's text outlives the call that bound it.
    struct Resetter {
        void operator()(sqlite3_stmt* statement) const;
    };
    using Lease = std::unique_ptr<sqlite3_stmt, Resetter>;

    explicit SqliteStatementCache(std::size_t capacity) : capacity_(capacity) {}

    // The statement kept for sql, or null. The backend runs one statement at a time, so a
    // statement is never lent twice at once.
    Lease find(const std::string& sql);
    // Keeps a statement just prepared for sql and lends it; past the capacity the statement
    // used longest ago is finalized.
    Lease keep(const std::string& sql, Statement statement);
    // Finalizes every statement; none may be lent. Done before the database closes.
    void clear() { entries_.clear(); }
    std::size_t size() const { return entries_.size(); }

  private:
    struct Entry {
        std::string sql;
        Statement statement;
        std::uint64_t lastUse = 0;
    };
    std::vector<Entry> entries_;
    std::size_t capacity_;
    std::uint64_t uses_ = 0;
};

} // namespace velmora::ado
