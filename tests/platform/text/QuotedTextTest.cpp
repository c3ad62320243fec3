// Quoting for the readers that take texts apart again: escapes on one line, statements and host
// filters, each with its own quotes inside, control bytes, and Chinese text passing through.
#include "platform/text/QuotedText.h"

#include <gtest/gtest.h>

using namespace velmora::text;

TEST(QuotedText, EachReaderGetsItsOwnRule) {
    struct Case {
        std::string_view text;
        std::string_view escaped, quoted, sql, filter;
    };
    const Case cases[] = {
        {"", "", "\"\"", "''", "\"\""},
        {"O'Brien", "O'Brien", "\"O'Brien\"", "'O''Brien'", "\"O'Brien\""},
        {"x' or '1'='1", "x' or '1'='1", "\"x' or '1'='1\"", "'x'' or ''1''=''1'",
         "\"x' or '1'='1\""},
        {"The \"Big\" Deal", "The \"Big\" Deal", "\"The \\\"Big\\\" Deal\"", "'The \"Big\" Deal'",
         "\"The \"\"Big\"\" Deal\""},
        {"a\tb\nc\rd\\e", "a\\tb\\nc\\rd\\\\e", "\"a\\tb\\nc\\rd\\\\e\"", "'a\tb\nc\rd\\e'",
         "\"a\tb\nc\rd\\e\""},
        {std::string_view("\x01\x7f\0", 3), "\\x01\\x7f\\x00", "\"\\x01\\x7f\\x00\"",
         std::string_view("'\x01\x7f\0'", 5), std::string_view("\"\x01\x7f\0\"", 5)},
        {"王小明 café", "王小明 café", "\"王小明 café\"", "'王小明 café'", "\"王小明 café\""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(escaped(c.text), c.escaped);
        EXPECT_EQ(quoted(c.text), c.quoted);
        EXPECT_EQ(sqlLiteral(c.text), c.sql);
        EXPECT_EQ("'" + sqlText(c.text) + "'", c.sql);
        EXPECT_EQ(filterLiteral(c.text), c.filter);
    }
}
