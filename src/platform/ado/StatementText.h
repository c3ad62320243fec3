// Reading statement texts without running them: whether a text is one statement, and whether a
// select reads plain columns of one table (so its rows can be changed by row identity).
#pragma once

#include <cstdint>
#include <string>

namespace velmora::ado {

// What an updatable read needs to know about its select.
struct SelectShape {
    bool updatable = false;
    std::string reason;     // why the rows cannot be changed, when they cannot
    std::string table;      // the one table read, unquoted
    std::string selectList; // the text between "select" and "from"
    std::string withRowid;  // the same statement reading the row identity as its first column
};

SelectShape analyzeSelect(const std::string& sql);

// The statement that reads one row again, by identity, with the columns of the original select.
std::string rowReread(const SelectShape& shape, std::int64_t rowid);

// Raises StoreError when text follows the first statement's ";": a value that was meant to stand
// between quotes must never smuggle a second statement in.
void requireSingleStatement(const std::string& sql);

// A name between double quotes, with inner quotes doubled.
std::string quoteIdentifier(const std::string& name);

// The statement shortened for error messages.
std::string statementForMessage(const std::string& sql);

} // namespace velmora::ado
