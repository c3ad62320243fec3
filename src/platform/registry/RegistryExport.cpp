// Writing a registry editor's export: sections named from the hive, names and texts quoted with
// backslash escapes, numbers as dword:, everything else as hex bytes broken into lines of 80.
#include "platform/registry/RegistryExport.h"

#include "platform/registry/Registry.h"
#include "platform/registry/Utf16Bytes.h"

#include <cstdio>

namespace velmora::registry {

namespace {

constexpr std::size_t lineWidth = 80;

std::string checkedUtf8(std::string_view text, const std::string& what) {
    if (!utf16leFromUtf8(text))
        throw RegistryError("Cannot export " + what + ": its text is not UTF-8",
                            ERROR_INVALID_PARAMETER);
    return std::string(text);
}

std::string exportQuoted(std::string_view text) {
    std::string out = "\"";
    for (const char c : text) {
        if (c == '\\' || c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

// A text the export's quotes keep as it is: terminated, on one line, no zero byte inside.
bool quotable(const RegValue& v) {
    if (v.type != REG_SZ || v.data.empty() || v.data.back() != 0) return false;
    for (std::size_t i = 0; i + 1 < v.data.size(); ++i)
        if (v.data[i] == 0 || v.data[i] == '\n' || v.data[i] == '\r') return false;
    return true;
}

// "hex:" or "hex(N):" and the bytes; column is where the line stands before it.
std::string hexList(const std::string& tag, const std::string& bytes, std::size_t column) {
    std::string out = tag;
    column += tag.size();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        char item[4];
        std::snprintf(item, sizeof item, "%02x", static_cast<unsigned char>(bytes[i]));
        std::string text = item;
        if (i + 1 < bytes.size()) text += ',';
        // A long list goes on after a comma on the next line, indented as the editor does.
        if (i > 0 && column + text.size() + 1 > lineWidth) {
            out += "\\\n  ";
            column = 2;
        }
        out += text;
        column += text.size();
    }
    return out;
}

std::string exportData(const RegValue& v, const std::string& where, std::size_t column) {
    const std::string bytes(v.data.begin(), v.data.end());
    if (quotable(v)) return exportQuoted(checkedUtf8(bytes.substr(0, bytes.size() - 1), where));
    if (const auto n = asDword(v)) {
        char buf[16];
        std::snprintf(buf, sizeof buf, "dword:%08x", *n);
        return buf;
    }
    if (v.type == REG_BINARY) return hexList("hex:", bytes, column);
    char tag[24];
    std::snprintf(tag, sizeof tag, "hex(%x):", v.type);
    if (v.type != REG_SZ && v.type != 2 && v.type != 7) return hexList(tag, bytes, column);
    // The editor keeps every text type in UTF-16LE.
    return hexList(tag, *utf16leFromUtf8(checkedUtf8(bytes, where)), column);
}

} // namespace

std::string exportText(const RegistryDocument& doc) {
    std::string out = "Windows Registry Editor Version 5.00\n";
    for (const auto& key : doc.keys()) {
        out += "\n[HKEY_CURRENT_USER\\" + checkedUtf8(key.path, "key " + key.path) + "]\n";
        for (const auto& [name, value] : key.values) {
            const std::string where = "\"" + name + "\" in " + key.path;
            if (name.find_first_of("\r\n") != std::string::npos)
                throw RegistryError("Cannot export " + where +
                                        ": a registry export cannot hold a line break in a name",
                                    ERROR_INVALID_PARAMETER);
            const std::string left =
                name.empty() ? "@=" : exportQuoted(checkedUtf8(name, where)) + "=";
            out += left + exportData(value, where, left.size()) + "\n";
        }
    }
    return out;
}

std::string utf16File(std::string_view text) {
    std::string crlf;
    crlf.reserve(text.size() + text.size() / 16);
    for (const char c : text) {
        if (c == '\n') crlf += '\r';
        crlf += c;
    }
    const auto utf16 = utf16leFromUtf8(crlf);
    if (!utf16)
        throw RegistryError("Cannot write UTF-16: the text is not UTF-8", ERROR_INVALID_PARAMETER);
    return "\xFF\xFE" + *utf16;
}

} // namespace velmora::registry
