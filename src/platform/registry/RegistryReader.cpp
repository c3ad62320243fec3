// Reading registry text line by line. The first line decides the dialect: a registry editor's
// header selects its rules (keys named from their hive, only \\ and \" escapes, hex type numbers
// in hexadecimal, UTF-16 string bytes); any other first line is the file's own format.
#include "platform/registry/RegistryReader.h"

#include "platform/registry/Registry.h"
#include "platform/registry/Utf16Bytes.h"
#include "platform/text/AsciiText.h"

#include <optional>
#include <set>
#include <utility>

namespace velmora::registry {

namespace {

enum class Dialect { Own, Regedit4, Regedit5 };

constexpr std::string_view utf8Bom = "\xEF\xBB\xBF";
constexpr std::string_view utf16leBom = "\xFF\xFE";

[[noreturn]] void fail(const std::string& problem) {
    throw RegistryError(problem, ERROR_BADDB);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// The path below HKEY_CURRENT_USER a section names; the registry file keeps no other hive.
// section is normalised, so "[\HKLM\Software]" names the hive as "[HKLM\Software]" does.
std::string userKeyPath(const std::string& section, Dialect dialect) {
    const auto slash = section.find('\\');
    const std::string hive = section.substr(0, slash);
    if (text::iequals(hive, "HKEY_CURRENT_USER") || text::iequals(hive, "HKCU")) {
        if (slash == std::string::npos) fail("name a key below " + hive + ", not the hive itself");
        return section.substr(slash + 1);
    }
    if (RegistryDocument::isHiveName(hive))
        fail(hive + " is not kept here: the registry file holds only keys below "
                    "HKEY_CURRENT_USER");
    if (dialect != Dialect::Own)
        fail("a registry export names its keys from the hive, as [HKEY_CURRENT_USER\\Software]");
    return section;
}

// Types whose data a registry editor's version 5 writes as UTF-16LE text.
bool isStringType(std::uint32_t type) {
    return type == REG_SZ || type == 2 || type == 7;
}

class TextReader {
  public:
    TextReader(std::string_view text, RegistryDocument& doc) : text_(text), doc_(doc) {}

    std::vector<MalformedLine> run() {
        std::vector<MalformedLine> skipped;
        if (!nextLine()) return skipped;
        if (line_ == "Windows Registry Editor Version 5.00")
            dialect_ = Dialect::Regedit5;
        else if (line_ == "REGEDIT4")
            dialect_ = Dialect::Regedit4;
        if (dialect_ != Dialect::Own && !nextLine()) return skipped;
        do {
            const int first = number_;
            inBytes_ = false;
            try {
                entry();
            } catch (const RegistryError& e) {
                skipped.push_back({first, e.what()});
                // The continuation lines of a broken byte list go with it.
                while (inBytes_ && !line_.empty() && line_.back() == '\\' && nextLine()) {
                }
            }
        } while (nextLine());
        return skipped;
    }

  private:
    bool nextLine() {
        if (pos_ >= text_.size()) return false;
        auto end = text_.find('\n', pos_);
        if (end == std::string_view::npos) end = text_.size();
        line_ = text_.substr(pos_, end - pos_);
        pos_ = end + 1;
        ++number_;
        at_ = 0;
        while (!line_.empty() &&
               (line_.back() == '\r' || line_.back() == ' ' || line_.back() == '\t'))
            line_.pop_back();
        return true;
    }

    void skipBlanks() {
        while (at_ < line_.size() && (line_[at_] == ' ' || line_[at_] == '\t'))
            ++at_;
    }
    bool atEnd() const { return at_ >= line_.size(); }
    bool take(std::string_view word) {
        if (line_.compare(at_, word.size(), word) != 0) return false;
        at_ += word.size();
        return true;
    }
    void expect(std::string_view word) {
        if (!take(word)) fail("expected '" + std::string(word) + "'");
    }

    void entry() {
        skipBlanks();
        if (atEnd() || take("#") || take(";")) return;
        if (line_[at_] == '[') return section();
        if (line_[at_] == '"' || line_[at_] == '@') return value();
        fail("expected a [key] line or a \"name\"=value line");
    }

    void section() {
        key_.reset();
        orphans_ = "a value of the key of line " + std::to_string(number_) + ", which is not read";
        if (line_.back() != ']') fail("a key line must end with ']'");
        std::string inside = line_.substr(at_ + 1, line_.size() - at_ - 2);
        const bool removal = dialect_ != Dialect::Own && inside.starts_with('-');
        if (removal) inside.erase(0, 1);
        const std::string path = userKeyPath(RegistryDocument::normalizeKey(inside), dialect_);
        if (removal) {
            doc_.removeKey(path);
            orphans_ = "a value of the key line " + std::to_string(number_) + " removes";
            return;
        }
        key_ = doc_.createKey(path).path;
    }

    void value() {
        const std::string name = take("@") ? "" : quoted();
        skipBlanks();
        expect("=");
        skipBlanks();
        std::optional<RegValue> given; // none: "=-" removes the value
        if (!take("-")) given = data();
        skipBlanks();
        if (!atEnd()) fail("unexpected text after the value");
        if (!key_) fail(orphans_);
        auto id = std::make_pair(text::lower(*key_), text::lower(name));
        if (!given) {
            doc_.removeValue(*key_, name);
            assigned_.erase(id);
            return;
        }
        if (!assigned_.insert(std::move(id)).second)
            fail("value \"" + name + "\" appears twice in [" + *key_ + "]");
        doc_.setValue(*key_, name, *given);
    }

    RegValue data() {
        if (line_[at_] == '"' || take("sz:")) {
            return textValue(quoted());
        }
        if (take("dword:")) {
            take("0x");
            return dwordValue(number(16, 8));
        }
        if (take("hex:")) return {REG_BINARY, bytes()};
        if (!take("hex("))
            fail("expected \"text\", sz:\"text\", dword:, hex:, hex(TYPE): or - after '='");
        RegValue v;
        v.type = dialect_ == Dialect::Own ? number(10, 10) : number(16, 8);
        expect("):");
        v.data = bytes();
        if (dialect_ == Dialect::Regedit5 && isStringType(v.type)) {
            const auto text =
                utf8FromUtf16le({reinterpret_cast<const char*>(v.data.data()), v.data.size()});
            if (!text) fail("the bytes of a text value are not UTF-16LE text");
            v.data.assign(text->begin(), text->end());
        }
        return v;
    }

    // Comma-separated hex pairs; a registry editor breaks long lists with a final "\".
    std::vector<std::uint8_t> bytes() {
        inBytes_ = true;
        std::vector<std::uint8_t> out;
        skipBlanks();
        if (atEnd()) return out;
        for (;;) {
            out.push_back(hexPair());
            skipBlanks();
            if (!take(",")) return out;
            skipBlanks();
            if (!take("\\")) continue;
            if (!atEnd()) fail("expected the line to end after '\\'");
            if (!nextLine()) fail("the text ends inside a continued line");
            skipBlanks();
        }
    }

    std::string quoted() {
        expect("\"");
        std::string out;
        for (;;) {
            if (atEnd()) fail("unterminated quoted text");
            const char c = line_[at_++];
            if (c == '"') return out;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (atEnd()) fail("unterminated escape");
            const char e = line_[at_++];
            if (e == '\\' || e == '"') {
                out += e;
                continue;
            }
            if (dialect_ != Dialect::Own)
                fail(std::string("unknown escape '\\") + e +
                     "': a registry export escapes only \\\\ and \\\"");
            switch (e) {
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'x':
                out += static_cast<char>(hexPair());
                break;
            default:
                fail(std::string("unknown escape '\\") + e + "'");
            }
        }
    }

    std::uint8_t hexPair() {
        if (at_ + 2 > line_.size()) fail("expected two hex digits");
        const int hi = hexDigit(line_[at_]);
        const int lo = hexDigit(line_[at_ + 1]);
        if (hi < 0 || lo < 0) fail("expected two hex digits");
        at_ += 2;
        return static_cast<std::uint8_t>(hi * 16 + lo);
    }

    std::uint32_t number(int base, int maxDigits) {
        std::uint64_t n = 0;
        int digits = 0;
        while (!atEnd()) {
            const char c = line_[at_];
            const int d = base == 16 ? hexDigit(c) : (c >= '0' && c <= '9' ? c - '0' : -1);
            if (d < 0) break;
            n = n * static_cast<std::uint64_t>(base) + static_cast<std::uint64_t>(d);
            ++at_;
            if (++digits > maxDigits || n > 0xffffffffu) fail("number too large");
        }
        if (digits == 0) fail("expected a number");
        return static_cast<std::uint32_t>(n);
    }

    std::string_view text_;
    RegistryDocument& doc_;
    Dialect dialect_ = Dialect::Own;
    std::size_t pos_ = 0;  // in text_, at the next line
    int number_ = 0;       // of line_
    std::string line_;     // without its line end and trailing blanks
    std::size_t at_ = 0;   // in line_
    bool inBytes_ = false; // the entry has reached a byte list, which may go on on further lines
    std::optional<std::string> key_; // the key the value lines go to
    std::string orphans_ = "a value line before the first [key] line";
    // Values this text sets, by lower-case key and name: a second one is a mistake.
    std::set<std::pair<std::string, std::string>> assigned_;
};

} // namespace

std::string describeSkipped(const std::vector<MalformedLine>& skipped) {
    if (skipped.empty()) return "";
    std::string text =
        "line " + std::to_string(skipped.front().number) + ": " + skipped.front().problem;
    if (skipped.size() == 2) text += " (and 1 more malformed line)";
    if (skipped.size() > 2)
        text += " (and " + std::to_string(skipped.size() - 1) + " more malformed lines)";
    return text;
}

std::vector<MalformedLine> readRegistryText(std::string_view text, RegistryDocument& doc) {
    std::string converted;
    if (text.starts_with(utf16leBom)) {
        auto utf8 = utf8FromUtf16le(text.substr(utf16leBom.size()));
        if (!utf8) return {{1, "the text starts as UTF-16LE but is not UTF-16LE text"}};
        converted = std::move(*utf8);
        text = converted;
    } else if (text.starts_with(utf8Bom)) {
        text.remove_prefix(utf8Bom.size());
    }
    return TextReader(text, doc).run();
}

ParsedRegistry parseRegistryText(std::string_view text) {
    ParsedRegistry parsed;
    parsed.skipped = readRegistryText(text, parsed.document);
    return parsed;
}

} // namespace velmora::registry
