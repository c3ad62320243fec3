// Reading statement texts without running them: a small tokenizer that knows quotes, comments
// and parentheses, enough to find the table of a plain select and a second statement.
#include "platform/ado/StatementText.h"

#include "platform/ado/Connection.h"
#include "platform/text/AsciiText.h"

#include <algorithm>
#include <cctype>
#include <vector>

namespace velmora::ado {

namespace {

enum class Kind { word, text, name, number, symbol };

struct Token {
    Kind kind;
    std::size_t begin; // offset in the statement
    std::size_t end;
    int depth;         // parentheses around the token
    std::string value; // word lowered, name unquoted, symbol as is
};

bool isWordStart(char c) {
    return std::isalpha(static_cast<unsigned char>(c)) || c == '_' ||
           static_cast<unsigned char>(c) >= 0x80;
}

bool isWordChar(char c) {
    return isWordStart(c) || std::isdigit(static_cast<unsigned char>(c)) || c == '$';
}

// Splits the statement; `complete` is false when a quote or comment is left open.
std::vector<Token> tokenize(const std::string& sql, bool& complete) {
    std::vector<Token> tokens;
    complete = true;
    int depth = 0;
    std::size_t i = 0;
    const std::size_t n = sql.size();
    while (i < n) {
        const char c = sql[i];
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
        } else if (c == '-' && i + 1 < n && sql[i + 1] == '-') {
            while (i < n && sql[i] != '\n')
                ++i;
        } else if (c == '/' && i + 1 < n && sql[i + 1] == '*') {
            const auto close = sql.find("*/", i + 2);
            if (close == std::string::npos) {
                complete = false;
                return tokens;
            }
            i = close + 2;
        } else if (c == '\'' || c == '"' || c == '`' || c == '[') {
            const char closer = c == '[' ? ']' : c;
            std::string inner;
            std::size_t j = i + 1;
            bool closed = false;
            while (j < n) {
                if (sql[j] == closer) {
                    // A doubled quote stands for itself inside the quotes.
                    if (closer != ']' && j + 1 < n && sql[j + 1] == closer) {
                        inner += closer;
                        j += 2;
                        continue;
                    }
                    closed = true;
                    break;
                }
                inner += sql[j++];
            }
            if (!closed) {
                complete = false;
                return tokens;
            }
            tokens.push_back({c == '\'' ? Kind::text : Kind::name, i, j + 1, depth, inner});
            i = j + 1;
        } else if (isWordStart(c)) {
            std::size_t j = i;
            while (j < n && isWordChar(sql[j]))
                ++j;
            tokens.push_back({Kind::word, i, j, depth, text::lower(sql.substr(i, j - i))});
            i = j;
        } else if (std::isdigit(static_cast<unsigned char>(c)) ||
                   (c == '.' && i + 1 < n &&
                    std::isdigit(static_cast<unsigned char>(sql[i + 1])))) {
            std::size_t j = i;
            while (j < n && (std::isalnum(static_cast<unsigned char>(sql[j])) || sql[j] == '.'))
                ++j;
            tokens.push_back({Kind::number, i, j, depth, sql.substr(i, j - i)});
            i = j;
        } else {
            if (c == ')') --depth;
            tokens.push_back(
                {Kind::symbol, i, i + 1, c == '(' ? depth++ : depth, std::string(1, c)});
            ++i;
        }
    }
    return tokens;
}

bool isWord(const Token& t, const char* word) {
    return t.kind == Kind::word && t.value == word;
}
bool isSymbol(const Token& t, char c) {
    return t.kind == Kind::symbol && t.value[0] == c;
}

SelectShape refuse(std::string reason) {
    SelectShape shape;
    shape.reason = std::move(reason);
    return shape;
}

} // namespace

SelectShape analyzeSelect(const std::string& sql) {
    bool complete = true;
    const std::vector<Token> tokens = tokenize(sql, complete);
    if (!complete) return refuse("the statement leaves a quote or comment open");
    if (tokens.empty() || !isWord(tokens[0], "select"))
        return refuse("it is not a select statement");

    std::size_t from = 0;
    for (std::size_t i = 1; i < tokens.size(); ++i) {
        if (tokens[i].depth == 0 && isWord(tokens[i], "from")) {
            from = i;
            break;
        }
    }
    if (from == 0) return refuse("the select names no table");

    // Only plain columns can be written back: "*", names, "table.name", separated by commas.
    for (std::size_t i = 1; i < from; ++i) {
        const Token& t = tokens[i];
        if (isWord(t, "distinct") || isWord(t, "all")) return refuse("the select is distinct");
        const bool plain = (t.kind == Kind::word && t.value != "as") || t.kind == Kind::name ||
                           isSymbol(t, ',') || isSymbol(t, '*') || isSymbol(t, '.');
        if (!plain) return refuse("the select list holds expressions, not plain columns");
    }
    if (from == 1) return refuse("the select list is empty");

    if (from + 1 >= tokens.size() ||
        (tokens[from + 1].kind != Kind::word && tokens[from + 1].kind != Kind::name))
        return refuse("the select names no table");
    const Token& table = tokens[from + 1];

    // After the table only the row filter and ordering may follow, and no second table.
    if (from + 2 < tokens.size()) {
        const Token& next = tokens[from + 2];
        const bool allowed = isWord(next, "where") || isWord(next, "order") ||
                             isWord(next, "limit") || isSymbol(next, ';');
        if (!allowed) return refuse("it reads more than one table, or a table under another name");
    }
    for (std::size_t i = from + 2; i < tokens.size(); ++i) {
        const Token& t = tokens[i];
        if (t.depth != 0) continue;
        if (isWord(t, "group") || isWord(t, "having") || isWord(t, "union") ||
            isWord(t, "intersect") || isWord(t, "except") || isWord(t, "join"))
            return refuse("it groups or combines rows");
    }

    SelectShape shape;
    shape.updatable = true;
    // Words are kept lowered for matching; the table keeps the spelling the statement used.
    shape.table =
        table.kind == Kind::word ? sql.substr(table.begin, table.end - table.begin) : table.value;
    const Token& first = tokens[1];
    shape.selectList = sql.substr(first.begin, tokens[from].begin - first.begin);
    while (!shape.selectList.empty() &&
           std::isspace(static_cast<unsigned char>(shape.selectList.back())))
        shape.selectList.pop_back();
    shape.select = sql.substr(0, tokens[0].end);
    shape.rest = sql.substr(first.begin);
    return shape;
}

std::string withIdentity(const SelectShape& shape, std::string_view identity) {
    return shape.select + " " + std::string(identity) + ", " + shape.rest;
}

std::string rowReread(const SelectShape& shape, const std::string& quotedTable,
                      const std::string& condition) {
    return "select " + shape.selectList + " from " + quotedTable + " where " + condition;
}

std::string
replaceWords(const std::string& sql,
             std::initializer_list<std::pair<std::string_view, std::string_view>> words) {
    bool complete = true;
    const std::vector<Token> tokens = tokenize(sql, complete);
    std::string out;
    std::size_t copied = 0;
    for (const Token& t : tokens) {
        if (t.kind != Kind::word) continue;
        for (const auto& [word, replacement] : words) {
            if (t.value != word) continue;
            out.append(sql, copied, t.begin - copied);
            out += replacement;
            copied = t.end;
            break;
        }
    }
    if (copied == 0) return sql;
    out.append(sql, copied, std::string::npos);
    return out;
}

void requireSingleStatement(const std::string& sql) {
    // Most statements hold no ";" at all, and need no tokenizing to know it.
    if (sql.find(';') == std::string::npos) return;
    bool complete = true;
    const std::vector<Token> tokens = tokenize(sql, complete);
    // An open quote is left for the engine to report with its own syntax message.
    for (std::size_t i = 0; i < tokens.size(); ++i) {
        if (isSymbol(tokens[i], ';')) {
            for (std::size_t j = i + 1; j < tokens.size(); ++j)
                if (!isSymbol(tokens[j], ';'))
                    throw StoreError("Characters found after end of SQL statement: only one "
                                     "statement may be run at a time (statement: " +
                                     statementForMessage(sql) + ")");
            return;
        }
    }
}

std::string quoteIdentifier(const std::string& name) {
    std::string out = "\"";
    for (char c : name) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

std::string statementForMessage(const std::string& sql) {
    constexpr std::size_t limit = 300;
    if (sql.size() <= limit) return sql;
    return sql.substr(0, limit) + "...";
}

} // namespace velmora::ado
