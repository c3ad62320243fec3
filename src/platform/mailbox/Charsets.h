// Converts text in a mail's declared charset to UTF-8, guessing when the mail declares none or
// one this system does not know. Internal to the mailbox layer.
#pragma once

#include <string>
#include <string_view>

namespace velmora::mailbox {

struct DecodedText {
    std::string text;
    // "unknown charset "x-foo"", "bytes not valid in charset GB2312", or "" when all went well.
    std::string problem;
};

// charset as the mail names it ("" for none). GB2312 and GBK are read as GB18030, which holds
// both, since mails labelled GB2312 often carry GBK characters.
DecodedText decodeText(std::string_view bytes, std::string_view charset);

// True when the charset can be converted from.
bool knownCharset(std::string_view charset);

// The text with every byte that is not UTF-8 replaced by U+FFFD.
std::string validUtf8(std::string_view text);

} // namespace velmora::mailbox
