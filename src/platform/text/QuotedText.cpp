// Escaping and quoting for the texts other readers take apart. The registry file, the control
// dumps and the store tool's rows share one escape set, so one reader undoes all of them.
#include "platform/text/QuotedText.h"

namespace velmora::text {

namespace {

void appendEscaped(std::string& out, std::string_view text, bool inQuotes) {
    constexpr std::string_view hexDigits = "0123456789abcdef";
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '"':
            out += inQuotes ? "\\\"" : "\"";
            break;
        default:
            if (byte < 0x20 || byte == 0x7f) {
                out += "\\x";
                out += hexDigits[byte >> 4];
                out += hexDigits[byte & 0xf];
            } else {
                out += c;
            }
        }
    }
}

// The value between two quote characters, each quote inside doubled.
std::string doubledInside(std::string_view value, char quote) {
    std::string out;
    out.reserve(value.size() + 2);
    out += quote;
    for (const char c : value) {
        if (c == quote) out += quote;
        out += c;
    }
    out += quote;
    return out;
}

} // namespace

std::string escaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    appendEscaped(out, text, false);
    return out;
}

std::string quoted(std::string_view text) {
    std::string out;
    out.reserve(text.size() + 2);
    out += '"';
    appendEscaped(out, text, true);
    out += '"';
    return out;
}

std::string sqlText(std::string_view value) {
    const std::string literal = sqlLiteral(value);
    return literal.substr(1, literal.size() - 2);
}

std::string sqlLiteral(std::string_view value) {
    return doubledInside(value, '\'');
}

std::string filterLiteral(std::string_view value) {
    return doubledInside(value, '"');
}

} // namespace velmora::text
