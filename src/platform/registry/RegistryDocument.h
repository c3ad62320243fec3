// The registry file's contents in memory: keys in file order, each with its named values.
// Writes the file's own text format (RegistryReader reads it); names match without regard to case.
#pragma once

#include "platform/registry/Registry.h"

#include <string>
#include <vector>

namespace velmora::registry {

struct NamedValue {
    std::string name;
    RegValue value;
    bool operator==(const NamedValue&) const = default;
};

struct RegistryKey {
    std::string path; // as first written, separators normalised
    std::vector<NamedValue> values;
    bool operator==(const RegistryKey&) const = default;
};

class RegistryDocument {
  public:
    // The text of the registry file's own format (docs/registry.md).
    std::string serialize() const;

    // "\\A\\\\B\\" becomes "A\\B"; raises RegistryError (ERROR_INVALID_PARAMETER) for an empty
    // path or one holding a line break, which the file could not keep.
    static std::string normalizeKey(const std::string& key);
    static bool sameName(const std::string& a, const std::string& b);
    // Whether a key path's first segment reads as a hive ("HKEY_CURRENT_USER", "HKLM"...), so
    // that the text names such a key from HKEY_CURRENT_USER to keep it a key.
    static bool isHiveName(const std::string& segment);

    const std::vector<RegistryKey>& keys() const { return keys_; }
    // The same keys in the same order, with the same values spelt the same.
    bool operator==(const RegistryDocument&) const = default;
    // A key exists when it has a section or is the parent of one, as on a real registry.
    bool hasKey(const std::string& key) const;
    const RegistryKey* findKey(const std::string& key) const;
    RegistryKey& createKey(const std::string& key);
    // Removes the key and every key below it; false when there was none.
    bool removeKey(const std::string& key);

    const RegValue* findValue(const std::string& key, const std::string& name) const;
    // The key must exist (hasKey); a value of the same name, in any letter case, is replaced
    // and keeps its first spelling.
    void setValue(const std::string& key, const std::string& name, const RegValue& value);
    bool removeValue(const std::string& key, const std::string& name);

  private:
    RegistryKey* findKeyMutable(const std::string& key);
    std::vector<RegistryKey> keys_;
};

} // namespace velmora::registry
