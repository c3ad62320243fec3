// Parsing and writing of the registry file; see docs/registry.md for the format.
// Text is kept as bytes: UTF-8 passes through, quotes, backslashes and control bytes are escaped.
#include "platform/registry/RegistryDocument.h"

#include "platform/registry/Registry.h"
#include "platform/text/AsciiText.h"
#include "platform/text/QuotedText.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace velmora::registry {

namespace {

bool startsWithKey(const std::string& path, const std::string& parent) {
    if (path.size() <= parent.size() || path[parent.size()] != '\\') return false;
    return RegistryDocument::sameName(path.substr(0, parent.size()), parent);
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

std::string hexByte(std::uint8_t b) {
    char buf[3];
    std::snprintf(buf, sizeof buf, "%02x", b);
    return buf;
}

// Reads one line's value entry; every failure names what was expected.
class LineReader {
  public:
    LineReader(const std::string& line, int number) : line_(line), number_(number) {}

    [[noreturn]] void fail(const std::string& what) const {
        throw RegistryError(
            "Malformed registry file, line " + std::to_string(number_) + ": " + what, ERROR_BADDB);
    }
    void skipBlanks() {
        while (pos_ < line_.size() && (line_[pos_] == ' ' || line_[pos_] == '\t'))
            ++pos_;
    }
    bool atEnd() const { return pos_ >= line_.size(); }
    bool take(const std::string& word) {
        if (line_.compare(pos_, word.size(), word) != 0) return false;
        pos_ += word.size();
        return true;
    }
    void expect(const std::string& word) {
        if (!take(word)) fail("expected '" + word + "'");
    }

    std::string quoted() {
        expect("\"");
        std::string out;
        for (;;) {
            if (atEnd()) fail("unterminated quoted text");
            const char c = line_[pos_++];
            if (c == '"') return out;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (atEnd()) fail("unterminated escape");
            const char e = line_[pos_++];
            switch (e) {
            case '\\':
                out += '\\';
                break;
            case '"':
                out += '"';
                break;
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
        if (pos_ + 2 > line_.size()) fail("expected two hex digits");
        const int hi = hexDigit(line_[pos_]);
        const int lo = hexDigit(line_[pos_ + 1]);
        if (hi < 0 || lo < 0) fail("expected two hex digits");
        pos_ += 2;
        return static_cast<std::uint8_t>(hi * 16 + lo);
    }

    std::uint32_t number(int base, int maxDigits) {
        std::uint64_t n = 0;
        int digits = 0;
        while (!atEnd()) {
            const int d = base == 16
                              ? hexDigit(line_[pos_])
                              : (line_[pos_] >= '0' && line_[pos_] <= '9' ? line_[pos_] - '0' : -1);
            if (d < 0) break;
            n = n * base + d;
            ++pos_;
            if (++digits > maxDigits || n > 0xffffffffu) fail("number too large");
        }
        if (digits == 0) fail("expected a number");
        return static_cast<std::uint32_t>(n);
    }

    RegValue value() {
        RegValue v;
        if (take("sz:")) {
            const std::string text = quoted();
            v.type = REG_SZ;
            v.data.assign(text.begin(), text.end());
            v.data.push_back(0);
        } else if (take("dword:")) {
            take("0x");
            const std::uint32_t n = number(16, 8);
            v.type = REG_DWORD;
            for (int i = 0; i < 4; ++i)
                v.data.push_back(static_cast<std::uint8_t>(n >> (8 * i)));
        } else if (take("hex(")) {
            v.type = number(10, 10);
            expect("):");
            skipBlanks();
            while (!atEnd() && line_[pos_] != ' ' && line_[pos_] != '\t') {
                if (!v.data.empty()) expect(",");
                v.data.push_back(hexPair());
            }
        } else {
            fail("expected sz:, dword: or hex(TYPE): after '='");
        }
        skipBlanks();
        if (!atEnd()) fail("unexpected text after the value");
        return v;
    }

  private:
    const std::string& line_;
    int number_;
    std::size_t pos_ = 0;
};

} // namespace

bool RegistryDocument::sameName(const std::string& a, const std::string& b) {
    return text::iequals(a, b);
}

std::string RegistryDocument::normalizeKey(const std::string& key) {
    std::string out;
    std::size_t start = 0;
    while (start <= key.size()) {
        std::size_t end = key.find('\\', start);
        if (end == std::string::npos) end = key.size();
        if (end > start) {
            if (!out.empty()) out += '\\';
            out += key.substr(start, end - start);
        }
        start = end + 1;
    }
    if (out.empty()) throw RegistryError("Empty registry key path", ERROR_INVALID_PARAMETER);
    if (out.find_first_of("\r\n") != std::string::npos)
        throw RegistryError("A registry key path cannot hold a line break",
                            ERROR_INVALID_PARAMETER);
    return out;
}

RegistryDocument RegistryDocument::parse(const std::string& text) {
    RegistryDocument doc;
    RegistryKey* current = nullptr;
    std::size_t start = 0;
    int number = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(start, end - start);
        start = end + 1;
        ++number;
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ' || line.back() == '\t'))
            line.pop_back();
        LineReader reader(line, number);
        reader.skipBlanks();
        if (reader.atEnd() || reader.take("#") || reader.take(";")) continue;
        if (reader.take("[")) {
            if (line.back() != ']') reader.fail("a key line must end with ']'");
            const auto open = line.find('[');
            const std::string path = line.substr(open + 1, line.size() - open - 2);
            try {
                current = &doc.createKey(path);
            } catch (const RegistryError& e) {
                reader.fail(e.what());
            }
            continue;
        }
        if (!current) reader.fail("a value before the first [key] line");
        if (line.find('"') != line.find_first_not_of(" \t"))
            reader.fail("expected a [key] line or a \"name\"=type:data line");
        const std::string name = reader.quoted();
        reader.skipBlanks();
        reader.expect("=");
        reader.skipBlanks();
        RegValue value = reader.value();
        for (const auto& existing : current->values)
            if (sameName(existing.name, name))
                reader.fail("value \"" + name + "\" appears twice in [" + current->path + "]");
        current->values.push_back({name, std::move(value)});
    }
    return doc;
}

std::string RegistryDocument::serialize() const {
    std::string out = "# Velmora per-user registry (docs/registry.md). Rewritten on every change;\n"
                      "# comments are not kept.\n";
    for (const auto& key : keys_) {
        out += "\n[" + key.path + "]\n";
        for (const auto& [name, value] : key.values) {
            out += text::quoted(name) + "=";
            if (value.type == REG_SZ && !value.data.empty() && value.data.back() == 0) {
                out += "sz:" + text::quoted(std::string(value.data.begin(), value.data.end() - 1));
            } else if (value.type == REG_DWORD && value.data.size() == 4) {
                std::uint32_t n = 0;
                for (int i = 3; i >= 0; --i)
                    n = (n << 8) | value.data[i];
                char buf[16];
                std::snprintf(buf, sizeof buf, "0x%08x", n);
                out += std::string("dword:") + buf;
            } else {
                out += "hex(" + std::to_string(value.type) + "):";
                for (std::size_t i = 0; i < value.data.size(); ++i)
                    out += (i ? "," : "") + hexByte(value.data[i]);
            }
            out += "\n";
        }
    }
    return out;
}

bool RegistryDocument::hasKey(const std::string& key) const {
    const std::string path = normalizeKey(key);
    return std::any_of(keys_.begin(), keys_.end(), [&](const RegistryKey& k) {
        return sameName(k.path, path) || startsWithKey(k.path, path);
    });
}

const RegistryKey* RegistryDocument::findKey(const std::string& key) const {
    const std::string path = normalizeKey(key);
    for (const auto& k : keys_)
        if (sameName(k.path, path)) return &k;
    return nullptr;
}

RegistryKey* RegistryDocument::findKeyMutable(const std::string& key) {
    return const_cast<RegistryKey*>(std::as_const(*this).findKey(key));
}

RegistryKey& RegistryDocument::createKey(const std::string& key) {
    if (RegistryKey* k = findKeyMutable(key)) return *k;
    keys_.push_back({normalizeKey(key), {}});
    return keys_.back();
}

bool RegistryDocument::removeKey(const std::string& key) {
    const std::string path = normalizeKey(key);
    const auto before = keys_.size();
    std::erase_if(keys_, [&](const RegistryKey& k) {
        return sameName(k.path, path) || startsWithKey(k.path, path);
    });
    return keys_.size() != before;
}

const RegValue* RegistryDocument::findValue(const std::string& key, const std::string& name) const {
    if (const RegistryKey* k = findKey(key))
        for (const auto& v : k->values)
            if (sameName(v.name, name)) return &v.value;
    return nullptr;
}

void RegistryDocument::setValue(const std::string& key, const std::string& name,
                                const RegValue& value) {
    RegistryKey& k = createKey(key);
    for (auto& v : k.values)
        if (sameName(v.name, name)) {
            v.value = value;
            return;
        }
    k.values.push_back({name, value});
}

bool RegistryDocument::removeValue(const std::string& key, const std::string& name) {
    RegistryKey* k = findKeyMutable(key);
    if (!k) return false;
    return std::erase_if(k->values, [&](const NamedValue& v) { return sameName(v.name, name); }) >
           0;
}

} // namespace velmora::registry
