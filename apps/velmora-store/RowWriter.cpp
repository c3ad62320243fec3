// The row formats. Values are told apart by kind, not by their text: a NULL, an empty text and
// the text "NULL" each keep their own form where the format can say so (json), bytes show as hex.
#include "RowWriter.h"

#include "platform/text/QuotedText.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <utility>
#include <variant>

namespace velmora::app {

namespace {

constexpr std::string_view hexDigits = "0123456789ABCDEF";

std::string hex(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 2);
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        out += hexDigits[byte >> 4];
        out += hexDigits[byte & 0xF];
    }
    return out;
}

// Walks the text by characters; a byte that starts no valid UTF-8 character comes as one
// character below zero.
template <typename Visit> void forEachCharacter(std::string_view text, Visit&& visit) {
    const auto size = static_cast<std::int32_t>(text.size());
    std::int32_t at = 0;
    while (at < size) {
        const std::int32_t start = at;
        UChar32 c = 0;
        U8_NEXT(text.data(), at, size, c);
        visit(c,
              text.substr(static_cast<std::size_t>(start), static_cast<std::size_t>(at - start)));
    }
}

// The text between JSON's double quotes. A malformed byte becomes U+FFFD, so that the output is
// valid UTF-8 whatever the store holds.
std::string jsonString(std::string_view text) {
    std::string out = "\"";
    forEachCharacter(text, [&](UChar32 c, std::string_view bytes) {
        if (c < 0) {
            out += "\xEF\xBF\xBD";
        } else if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\t') {
            out += "\\t";
        } else if (c < 0x20) {
            out += "\\u00";
            out += hexDigits[static_cast<std::size_t>(c >> 4)];
            out += hexDigits[static_cast<std::size_t>(c & 0xF)];
        } else {
            out += bytes;
        }
    });
    return out + "\"";
}

// Columns the text takes in a terminal: wide and full-width characters (Chinese among them) two.
std::size_t displayWidth(std::string_view text) {
    std::size_t width = 0;
    forEachCharacter(text, [&](UChar32 c, std::string_view) {
        const auto kind = c < 0 ? U_EA_NEUTRAL : u_getIntPropertyValue(c, UCHAR_EAST_ASIAN_WIDTH);
        width += kind == U_EA_WIDE || kind == U_EA_FULLWIDTH ? 2 : 1;
    });
    return width;
}

// RFC 4180: a field holding a comma, a double quote or a line break stands between double
// quotes, with each double quote inside doubled.
std::string csvField(std::string_view text) {
    if (text.find_first_of(",\"\r\n") == std::string_view::npos) return std::string(text);
    std::string out = "\"";
    for (const char c : text) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

bool isNumber(const ado::Value& value) {
    return std::holds_alternative<std::int64_t>(value.data()) ||
           std::holds_alternative<double>(value.data());
}

std::string jsonValue(const ado::Value& value) {
    const ado::Value::Data& data = value.data();
    if (value.isNull()) return "null";
    if (const auto* blob = std::get_if<ado::Blob>(&data)) return jsonString(hex(blob->bytes));
    if (const auto* yes = std::get_if<bool>(&data)) return *yes ? "true" : "false";
    if (std::holds_alternative<std::int64_t>(data)) return value.text();
    // JSON has no infinity; the engine's text for it goes as a string.
    if (const auto* real = std::get_if<double>(&data))
        return std::isfinite(*real) ? value.text() : jsonString(value.text());
    return jsonString(value.text());
}

} // namespace

std::optional<RowFormat> rowFormatNamed(std::string_view name) {
    constexpr std::array<std::pair<std::string_view, RowFormat>, 4> names = {{
        {"table", RowFormat::table},
        {"tsv", RowFormat::tsv},
        {"csv", RowFormat::csv},
        {"json", RowFormat::json},
    }};
    for (const auto& [text, format] : names)
        if (text == name) return format;
    return std::nullopt;
}

RowWriter::RowWriter(std::ostream& out, RowFormat format, std::vector<std::string> columns)
    : out_(out), format_(format), columns_(std::move(columns)), numeric_(columns_.size(), true) {
    if (format_ == RowFormat::tsv || format_ == RowFormat::csv) {
        std::vector<std::string> header;
        header.reserve(columns_.size());
        for (const std::string& name : columns_)
            header.push_back(format_ == RowFormat::csv ? csvField(name) : text::escaped(name));
        line(header);
    }
}

std::string RowWriter::cell(const ado::Value& value) const {
    if (value.isNull()) return "NULL";
    if (const auto* blob = std::get_if<ado::Blob>(&value.data()))
        return "x'" + hex(blob->bytes) + "'";
    if (isNumber(value)) return value.text();
    // A tab or line break inside a value must not split the row.
    return format_ == RowFormat::csv ? csvField(value.text()) : text::escaped(value.text());
}

void RowWriter::line(const std::vector<std::string>& cells) {
    const char* separator = format_ == RowFormat::csv ? "," : "\t";
    for (std::size_t c = 0; c < cells.size(); ++c)
        out_ << (c ? separator : "") << cells[c];
    out_ << (format_ == RowFormat::csv ? "\r\n" : "\n");
}

void RowWriter::row(const std::vector<ado::Value>& values) {
    if (format_ == RowFormat::json) {
        out_ << (rows_ ? ",\n{" : "[\n{");
        for (std::size_t c = 0; c < values.size(); ++c)
            out_ << (c ? "," : "") << jsonString(columns_[c]) << ':' << jsonValue(values[c]);
        out_ << '}';
        ++rows_;
        return;
    }
    std::vector<std::string> cells;
    cells.reserve(values.size());
    for (const ado::Value& value : values)
        cells.push_back(cell(value));
    ++rows_;
    if (format_ != RowFormat::table) {
        line(cells);
        return;
    }
    for (std::size_t c = 0; c < values.size(); ++c)
        if (!values[c].isNull() && !isNumber(values[c])) numeric_[c] = false;
    held_.push_back(std::move(cells));
}

void RowWriter::printTable() {
    std::vector<std::string> header;
    header.reserve(columns_.size());
    for (const std::string& name : columns_)
        header.push_back(text::escaped(name));
    std::vector<std::size_t> widths(columns_.size());
    for (std::size_t c = 0; c < columns_.size(); ++c) {
        widths[c] = displayWidth(header[c]);
        for (const auto& cells : held_)
            widths[c] = std::max(widths[c], displayWidth(cells[c]));
    }
    // Numbers line up on the right; the last column carries no trailing blanks.
    const auto print = [&](const std::vector<std::string>& cells) {
        for (std::size_t c = 0; c < cells.size(); ++c) {
            const std::string padding(widths[c] - displayWidth(cells[c]), ' ');
            const bool last = c + 1 == cells.size();
            out_ << (c ? "  " : "");
            if (numeric_[c])
                out_ << padding << cells[c];
            else
                out_ << cells[c] << (last ? "" : padding);
        }
        out_ << '\n';
    };
    print(header);
    std::vector<std::string> rule;
    rule.reserve(widths.size());
    for (const std::size_t width : widths)
        rule.emplace_back(width, '-');
    print(rule);
    for (const auto& cells : held_)
        print(cells);
}

void RowWriter::finish() {
    if (format_ == RowFormat::table) printTable();
    if (format_ == RowFormat::json) out_ << (rows_ ? "\n]\n" : "[]\n");
    out_.flush();
}

} // namespace velmora::app
