// Walking UTF-8 by characters: counts and cuts of Chinese and accented text never split a
// character, and malformed bytes count rather than vanish.
#include "platform/text/Utf8Text.h"

#include <gtest/gtest.h>

using namespace velmora::text;

TEST(Utf8Text, CountsAndCutsAtCharacterBoundaries) {
    struct Case {
        std::string_view text;
        std::size_t characters;
        std::string_view firstTwo;   // leadingCharacters(text, 2)
        std::string_view withinFour; // prefixWithinBytes(text, 4)
    };
    const Case cases[] = {
        {"", 0, "", ""},
        {"12:30", 5, "12", "12:3"},
        // Three bytes a character: four bytes hold one and not the start of the next.
        {"王小明", 3, "王小", "王"},
        {"季度会议纪要", 6, "季度", "季"},
        {"Zoë 会议", 6, "Zo", "Zoë"},
        {"a😀", 2, "a😀", "a"},
        // A lone continuation byte and a lead byte cut short count as one character each.
        {"a\x80"
         "b",
         3, "a\x80",
         "a\x80"
         "b"},
        {"\xe4\xbc", 1, "\xe4\xbc", "\xe4\xbc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(characterCount(c.text), c.characters);
        EXPECT_EQ(leadingCharacters(c.text, 2), c.firstTwo);
        EXPECT_EQ(prefixWithinBytes(c.text, 4), c.withinFour);
        EXPECT_EQ(leadingCharacters(c.text, 0), "");
        EXPECT_EQ(leadingCharacters(c.text, 99), c.text);
        EXPECT_EQ(prefixWithinBytes(c.text, 99), c.text);
    }
    EXPECT_EQ(prefixWithinBytes("王小明", 2), "");
}
