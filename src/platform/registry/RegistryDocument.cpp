// The registry's keys and values in memory, and their text in the file's own format: text is
// kept as bytes; UTF-8 passes through, quotes, backslashes and control bytes are escaped.
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

std::string hexByte(std::uint8_t b) {
    char buf[3];
    std::snprintf(buf, sizeof buf, "%02x", b);
    return buf;
}

} // namespace

bool RegistryDocument::sameName(const std::string& a, const std::string& b) {
    return text::iequals(a, b);
}

bool RegistryDocument::isHiveName(const std::string& segment) {
    if (segment.size() > 5 && text::iequals(segment.substr(0, 5), "HKEY_")) return true;
    for (const char* shortName : {"HKCU", "HKLM", "HKCR", "HKU", "HKCC"})
        if (text::iequals(segment, shortName)) return true;
    return false;
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

std::string RegistryDocument::serialize() const {
    std::string out = "# Velmora per-user registry (docs/registry.md). Rewritten on every change;\n"
                      "# comments are not kept.\n";
    for (const auto& key : keys_) {
        const bool hiveLike = isHiveName(key.path.substr(0, key.path.find('\\')));
        out += std::string("\n[") + (hiveLike ? "HKEY_CURRENT_USER\\" : "") + key.path + "]\n";
        for (const auto& [name, value] : key.values) {
            out += text::quoted(name) + "=";
            if (value.type == REG_SZ && !value.data.empty() && value.data.back() == 0) {
                out += "sz:" + text::quoted(std::string(value.data.begin(), value.data.end() - 1));
            } else if (const auto n = asDword(value)) {
                char buf[16];
                std::snprintf(buf, sizeof buf, "0x%08x", *n);
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
