// The kept statements of the embedded store. A handful of texts recur, so a short list searched
// in order beats hashing long statement texts.
#include "platform/ado/SqliteStatementCache.h"

#include <sqlite3.h>

#include <algorithm>

namespace velmora::ado {

void SqliteStatementCache::Finalizer::operator()(sqlite3_stmt* statement) const {
    sqlite3_finalize(statement);
}

void SqliteStatementCache::Resetter::operator()(sqlite3_stmt* statement) const {
    sqlite3_reset(statement);
    sqlite3_clear_bindings(statement);
}

SqliteStatementCache::Lease SqliteStatementCache::find(const std::string& sql) {
    for (Entry& entry : entries_) {
        if (entry.sql == sql) {
            entry.lastUse = ++uses_;
            return Lease(entry.statement.get());
        }
    }
    return Lease();
}

SqliteStatementCache::Lease SqliteStatementCache::keep(const std::string& sql,
                                                       Statement statement) {
    if (entries_.size() >= capacity_ && !entries_.empty()) {
        const auto oldest =
            std::min_element(entries_.begin(), entries_.end(),
                             [](const Entry& a, const Entry& b) { return a.lastUse < b.lastUse; });
        entries_.erase(oldest);
    }
    entries_.push_back(Entry{sql, std::move(statement), ++uses_});
    return Lease(entries_.back().statement.get());
}

} // namespace velmora::ado
