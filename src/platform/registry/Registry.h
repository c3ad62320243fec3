// The per-user registry: keys of values, names matched without regard to case. Opening a missing
// key fails; values are REG_SZ, REG_DWORD or raw bytes of another type.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmora::registry {

enum RegType : std::uint32_t { REG_NONE = 0, REG_SZ = 1, REG_BINARY = 3, REG_DWORD = 4 };

struct RegValue {
    std::uint32_t type = REG_NONE;
    std::vector<std::uint8_t> data;
    bool operator==(const RegValue&) const = default;
};

// A REG_DWORD of n, its four bytes little-endian as the registry stores them.
inline RegValue dwordValue(std::uint32_t n) {
    return {REG_DWORD,
            {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
             static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 24)}};
}

// A REG_SZ of text, with the terminating zero byte the registry keeps.
inline RegValue textValue(const std::string& text) {
    RegValue v{REG_SZ, {text.begin(), text.end()}};
    v.data.push_back(0);
    return v;
}

// The number of a REG_DWORD of exactly four bytes; none for any other value.
inline std::optional<std::uint32_t> asDword(const RegValue& v) {
    if (v.type != REG_DWORD || v.data.size() != 4) return std::nullopt;
    return v.data[0] | v.data[1] << 8 | v.data[2] << 16 |
           static_cast<std::uint32_t>(v.data[3]) << 24;
}

// The text of a REG_SZ without its terminating zero byte (when it has one); none for other types.
inline std::optional<std::string> asText(const RegValue& v) {
    if (v.type != REG_SZ) return std::nullopt;
    std::string text(v.data.begin(), v.data.end());
    if (!text.empty() && text.back() == '\0') text.pop_back();
    return text;
}

// Result codes as the registry answers them.
constexpr long ERROR_SUCCESS = 0;
constexpr long ERROR_FILE_NOT_FOUND = 2;
constexpr long ERROR_ACCESS_DENIED = 5;

// Result codes beyond the contract's three, as the registry answers them.
constexpr long ERROR_WRITE_FAULT = 29;
constexpr long ERROR_INVALID_PARAMETER = 87;
constexpr long ERROR_BADDB = 1009;

// The failure the file registry raises: a description and the result code it maps to. Reads
// turn it into "missing"; writes turn it into their status; the tools print it.
class RegistryError : public std::runtime_error {
  public:
    RegistryError(const std::string& description, long status)
        : std::runtime_error(description), status_(status) {}
    long status() const { return status_; }

  private:
    long status_;
};

class Registry {
  public:
    virtual ~Registry() = default;
    // key is a path below HKEY_CURRENT_USER such as "Software\OutLook Sync Velmora".
    virtual bool KeyExists(const std::string& key) = 0;
    virtual std::optional<RegValue> QueryValue(const std::string& key, const std::string& name) = 0;
    virtual long SetValue(const std::string& key, const std::string& name,
                          const RegValue& value) = 0;
    virtual long CreateKey(const std::string& key) = 0;
    virtual long DeleteValue(const std::string& key, const std::string& name) = 0;
};

} // namespace velmora::registry
