// The rewrites PostgreSQL needs: the yes/no columns are integers, and PostgreSQL will not compare
// or assign an integer with True/False, so those words become 1 and 0 outside quotes.
#include "platform/ado/PostgresDialect.h"

#include "platform/ado/StatementText.h"
#include "platform/text/AsciiText.h"

namespace velmora::ado {

// The schema's names are created unquoted, so PostgreSQL keeps them in lower case.
std::string PostgresDialect::name(const std::string& identifier) const {
    return quoteIdentifier(text::lower(identifier));
}

std::string PostgresDialect::translate(const std::string& sql) const {
    return replaceWords(sql, {{"true", "1"}, {"false", "0"}});
}

// Exclusive mode blocks every writer and no reader, as a SQLite write lock under WAL does.
std::string PostgresDialect::lockTables(const std::vector<std::string>& tables) const {
    std::string list;
    for (const std::string& table : tables)
        list += (list.empty() ? "" : ", ") + name(table);
    return list.empty() ? std::string() : "lock table " + list + " in exclusive mode";
}

} // namespace velmora::ado
