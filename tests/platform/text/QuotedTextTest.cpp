// Quoting for the readers that take texts apart again: escapes on one line, statements and host
// filters, each with quotes inside quotes.
#include "platform/text/QuotedText.h"

#include <gtest/gtest.h>

using namespace velmora::text;

TEST(QuotedText, EscapesKeepATextOnOneLine) {
    EXPECT_EQ(escaped(""), "");
    EXPECT_EQ(escaped("a\tb\nc\rd\\e"), "a\\tb\\nc\\rd\\\\e");
    EXPECT_EQ(escaped(std::string_view("\x01\x1f\x7f", 3)), "\\x01\\x1f\\x7f");
    EXPECT_EQ(escaped(std::string_view("a\0b", 3)), "a\\x00b");
    // Quotes need no escape outside quotes; UTF-8 passes through.
    EXPECT_EQ(escaped("say \"王\""), "say \"王\"");
}

TEST(QuotedText, QuotedEscapesItsOwnQuotes) {
    EXPECT_EQ(quoted(""), "\"\"");
    EXPECT_EQ(quoted("Ann \"Nan\" Lee"), "\"Ann \\\"Nan\\\" Lee\"");
    EXPECT_EQ(quoted("C:\\mail\n"), "\"C:\\\\mail\\n\"");
    EXPECT_EQ(quoted("会议 café"), "\"会议 café\"");
}

TEST(QuotedText, StatementValuesDoubleSingleQuotes) {
    EXPECT_EQ(sqlText(""), "");
    EXPECT_EQ(sqlText("O'Brien"), "O''Brien");
    EXPECT_EQ(sqlText("''"), "''''");
    EXPECT_EQ(sqlText("say \"hi\""), "say \"hi\"");
    EXPECT_EQ(sqlLiteral(""), "''");
    EXPECT_EQ(sqlLiteral("x' or '1'='1"), "'x'' or ''1''=''1'");
    EXPECT_EQ(sqlLiteral("王小明"), "'王小明'");
}

TEST(QuotedText, FilterValuesDoubleDoubleQuotes) {
    EXPECT_EQ(filterLiteral(""), "\"\"");
    EXPECT_EQ(filterLiteral("The \"Big\" Deal"), "\"The \"\"Big\"\" Deal\"");
    EXPECT_EQ(filterLiteral("O'Brien"), "\"O'Brien\"");
    EXPECT_EQ(filterLiteral("周会"), "\"周会\"");
}
