// Reading statement texts without running them: whether a text is one statement, and whether a
// select reads plain columns of one table (so its rows can be changed by row identity).
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>

namespace velmora::ado {

// What an updatable read needs to know about its select.
struct SelectShape {
    bool updatable = false;
    std::string reason;     // why the rows cannot be changed, when they cannot
    std::string table;      // the one table read, unquoted
    std::string selectList; // the text between "select" and "from"
    std::string select;     // the leading "select" as written
    std::string rest;       // the statement from its select list on
};

SelectShape analyzeSelect(const std::string& sql);

// The same select reading the row identity (an engine's pseudo-column) as its first column.
std::string withIdentity(const SelectShape& shape, std::string_view identity);

// The statement that reads one row again, found by condition, with the columns of the select.
std::string rowReread(const SelectShape& shape, const std::string& quotedTable,
                      const std::string& condition);

// The statement with every bare word (not quoted, not in a comment) that matches a pair's first
// text, in any letter case, replaced by its second.
std::string
replaceWords(const std::string& sql,
             std::initializer_list<std::pair<std::string_view, std::string_view>> words);

// Raises StoreError when text follows the first statement's ";": a value that was meant to stand
// between quotes must never smuggle a second statement in.
void requireSingleStatement(const std::string& sql);

// A name between double quotes, with inner quotes doubled.
std::string quoteIdentifier(const std::string& name);

// The statement shortened for error messages.
std::string statementForMessage(const std::string& sql);

} // namespace velmora::ado
