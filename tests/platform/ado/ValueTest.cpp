// Field value conversions: the store hands back numbers as text, yes/no as 0/1 and dates as
// "YYYY-MM-DD HH:MM:SS" text, and every reader converts with these.
#include "platform/ado/Value.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace velmora::ado {
namespace {

using namespace std::chrono;

TEST(Value, TextAndNumbersConvertBothWays) {
    EXPECT_EQ(Value().text(), "");
    EXPECT_EQ(Value(42).text(), "42");
    EXPECT_EQ(Value(1.5).text(), "1.5");
    EXPECT_EQ(Value(3.0).text(), "3");
    EXPECT_EQ(Value(true).text(), "True");
    EXPECT_EQ(Value(" 17 ").toInt(), 17);
    EXPECT_EQ(Value("-4").toInt(), -4);
    EXPECT_EQ(Value("2.6").toInt(), 3);
    EXPECT_EQ(Value("abc").toInt(), 0);
    EXPECT_EQ(Value("12abc").toInt(), 0); // no silent prefix parse
    EXPECT_EQ(Value("True").toInt(), 1);
    EXPECT_DOUBLE_EQ(Value("2.25").toDouble(), 2.25);
    EXPECT_DOUBLE_EQ(Value(7).toDouble(), 7.0);
    EXPECT_EQ(Value(9007199254740993LL).toInt(), 9007199254740993LL); // no trip through double
    EXPECT_THROW(Value(1e300).toInt(), std::runtime_error);
}

TEST(Value, BytesStayApartFromTheSameText) {
    const Value bytes(Blob{"12"});
    EXPECT_TRUE(bytes.isBlob());
    EXPECT_FALSE(Value("12").isBlob());
    EXPECT_FALSE(bytes == Value("12"));
    EXPECT_FALSE(Value("") == Value()); // an empty text is no null
    // Read as the engine converts bytes: their text, and a number when the text is one.
    EXPECT_EQ(bytes.text(), "12");
    EXPECT_EQ(bytes.toInt(), 12);
    EXPECT_TRUE(bytes.toBool());
}

TEST(Value, YesNoReadsStoredAndTextForms) {
    EXPECT_FALSE(Value().toBool());
    EXPECT_TRUE(Value(1).toBool());
    EXPECT_TRUE(Value(-1).toBool());
    EXPECT_FALSE(Value(0).toBool());
    EXPECT_TRUE(Value("1").toBool());
    EXPECT_TRUE(Value("True").toBool());
    EXPECT_TRUE(Value("true").toBool());
    EXPECT_FALSE(Value("False").toBool());
    EXPECT_FALSE(Value("0").toBool());
    EXPECT_FALSE(Value("no").toBool());
    EXPECT_FALSE(Value("").toBool());
}

TEST(Value, DatesUseTheStoredForm) {
    const DateTime t = sys_days{year{2001} / 2 / 28} + hours{23} + minutes{5} + seconds{9};
    EXPECT_EQ(Value(t).text(), "2001-02-28 23:05:09");
    EXPECT_EQ(Value("2001-02-28 23:05:09").toDate(), t);
    EXPECT_EQ(Value("2001-02-28T23:05:09.250").toDate(), t);
    EXPECT_EQ(Value("2001-02-28").toDate(), sys_days{year{2001} / 2 / 28});
    EXPECT_EQ(Value("2001-02-28 23:05").toDate(), t - seconds{9});
    EXPECT_EQ(Value(t).toDate(), t);

    DateTime out;
    EXPECT_FALSE(parseDateTime("2001-02-29", out)); // not a leap year
    EXPECT_FALSE(parseDateTime("2001-13-01", out));
    EXPECT_FALSE(parseDateTime("2001-01-01 24:00:00", out));
    EXPECT_FALSE(parseDateTime("2001-01-01 10:00:00 junk", out));
    EXPECT_FALSE(parseDateTime("01-01-2001", out));
    EXPECT_THROW(Value("tomorrow").toDate(), std::runtime_error);
    EXPECT_THROW(Value().toDate(), std::runtime_error);
    EXPECT_THROW(Value(5).toDate(), std::runtime_error);
}

} // namespace
} // namespace velmora::ado
