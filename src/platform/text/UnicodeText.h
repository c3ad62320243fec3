// Text compared the way a user reads it: full Unicode case folding for "whatever the letter case"
// tests. Names of tables, columns, keys and host members keep their exact or ASCII comparisons.
#pragma once

#include <string>
#include <string_view>

namespace velmora::text {

// The case-folded form of UTF-8 text ("MÜLLER" and "Müller" both give "müller"; "ß" gives "ss").
// Accents stay: "Zoë" and "Zoe" fold differently. Bytes that are not UTF-8 become U+FFFD.
std::string foldCase(std::string_view utf8);

// Whether every byte is ASCII, whose folding is plain lowering and needs no ICU.
bool isAscii(std::string_view s);

// Whether a and b are the same text whatever the letter case.
bool equalsIgnoringCase(std::string_view a, std::string_view b);

// a folded, compared byte by byte (code point order) with b, which is already folded: negative,
// zero or positive. The host's filters fold their values once and compare every item with them.
int compareFolded(std::string_view a, std::string_view foldedB);

} // namespace velmora::text
