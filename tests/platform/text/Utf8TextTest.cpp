// Walking UTF-8 by characters: counts and cuts of Chinese and accented text never split a
// character, and malformed bytes count rather than vanish.
#include "platform/text/Utf8Text.h"

#include <gtest/gtest.h>

using namespace velmora::text;

TEST(Utf8Text, CountsCharactersNotBytes) {
    EXPECT_EQ(characterCount(""), 0u);
    EXPECT_EQ(characterCount("12:30"), 5u);
    EXPECT_EQ(characterCount("王小明"), 3u);
    EXPECT_EQ(characterCount("Zoë 会议"), 6u);
    EXPECT_EQ(characterCount("😀"), 1u);
    // A lone continuation byte and a lead byte cut short still count as one each.
    EXPECT_EQ(characterCount("a\x80"
                             "b"),
              3u);
    EXPECT_EQ(characterCount("\xe4\xbc"), 1u);
}

TEST(Utf8Text, LeadingCharactersStopAtACharacterBoundary) {
    EXPECT_EQ(leadingCharacters("", 3), "");
    EXPECT_EQ(leadingCharacters("abc", 0), "");
    EXPECT_EQ(leadingCharacters("abc", 5), "abc");
    EXPECT_EQ(leadingCharacters("季度会议纪要", 4), "季度会议");
    EXPECT_EQ(leadingCharacters("Zoë's", 3), "Zoë");
}

TEST(Utf8Text, BytePrefixNeverSplitsACharacter) {
    EXPECT_EQ(prefixWithinBytes("", 4), "");
    EXPECT_EQ(prefixWithinBytes("abcdef", 4), "abcd");
    EXPECT_EQ(prefixWithinBytes("abc", 10), "abc");
    // "王" takes three bytes: four bytes hold one character and not the start of the next.
    EXPECT_EQ(prefixWithinBytes("王小明", 4), "王");
    EXPECT_EQ(prefixWithinBytes("王小明", 6), "王小");
    EXPECT_EQ(prefixWithinBytes("王小明", 2), "");
    EXPECT_EQ(prefixWithinBytes("a😀", 4), "a");
}
