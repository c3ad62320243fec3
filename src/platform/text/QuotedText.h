// Values written into texts that another reader takes apart again: a line of a dump or a file,
// a statement for the link store, a filter for the mail host. Each reader has its own rule.
#pragma once

#include <string>
#include <string_view>

namespace velmora::text {

// The text on one line: a backslash, a line break, a carriage return and a tab become \\, \n,
// \r and \t, any other control byte \xHH; UTF-8 passes through.
std::string escaped(std::string_view text);

// The text between double quotes with escaped's escapes, and \" for a double quote inside.
std::string quoted(std::string_view text);

// A value for a statement, to stand between single quotes: each single quote doubled.
std::string sqlText(std::string_view value);

// The value between single quotes, ready to concatenate into a statement.
std::string sqlLiteral(std::string_view value);

// A value as a host filter operand: between double quotes, an inner double quote doubled, so a
// name or subject holding quotes can neither break the filter nor change what it selects.
std::string filterLiteral(std::string_view value);

} // namespace velmora::text
