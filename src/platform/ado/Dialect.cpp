// The plain dialect, and the choice of dialect by the engine's name: the one place that asks
// which engine stands behind a data source.
#include "platform/ado/Dialect.h"

#include "platform/ado/PostgresDialect.h"
#include "platform/ado/SqliteDialect.h"
#include "platform/ado/StatementText.h"
#include "platform/text/AsciiText.h"
#include "platform/text/QuotedText.h"

#include <variant>

namespace velmora::ado {

std::string Dialect::name(const std::string& identifier) const {
    return quoteIdentifier(identifier);
}

std::string Dialect::identityCondition(const Value& identity) const {
    const std::string column(rowIdentity());
    if (std::holds_alternative<std::int64_t>(identity.data()))
        return column + "=" + identity.text();
    return column + "='" + text::sqlText(identity.text()) + "'";
}

std::unique_ptr<Dialect> dialectForEngine(std::string_view engine) {
    const auto startsWith = [engine](std::string_view word) {
        return text::iequals(engine.substr(0, word.size()), word);
    };
    if (startsWith("sqlite")) return std::make_unique<SqliteDialect>();
    if (startsWith("postgresql")) return std::make_unique<PostgresDialect>();
    return std::make_unique<Dialect>(std::string(engine));
}

} // namespace velmora::ado
