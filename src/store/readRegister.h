// The add-in's settings: language, install path, "HistoryValue" and the remembered dialog
// positions under the per-user key "Software\OutLook Sync Velmora". No read ever raises.
#pragma once

#include "platform/registry/Registry.h"

#include <cstdint>
#include <string>

namespace velmora {

// The eleven remembered tab and search-option positions.
struct UiIndices {
    std::int16_t noteTab = 0;
    std::int16_t mailTab = 0;
    std::int16_t calendarTab = 0;
    std::int16_t contactSearchField = 0;
    std::int16_t contactSearchMode = 0;
    std::int16_t contactSearchTime = 0;
    std::int16_t contactSearchTimeRange = 0;
    std::int16_t eventSearchField = 0;
    std::int16_t eventSearchMode = 0;
    std::int16_t eventSearchTime = 0;
    std::int16_t eventSearchTimeRange = 0;
};

// The registry hives by their usual handle values; only the current user's one is kept here.
using RegistryHive = std::uint32_t;
constexpr RegistryHive HKEY_CURRENT_USER = 0x80000001u;
constexpr RegistryHive HKEY_LOCAL_MACHINE = 0x80000002u;

class readRegister {
  public:
    static constexpr const char* mainKey = "Software\\OutLook Sync Velmora";
    static constexpr const char* settingKey = "Software\\OutLook Sync Velmora\\setting";
    static constexpr const char* defaultLanguage = "CN";
    static constexpr const char* defaultPath = "c:\\Program Files\\Velmora\\Velmora Outlook Client";
    static constexpr std::size_t bufferSize = 1024;

    explicit readRegister(registry::Registry& registry) : registry_(registry) {}

    // "Language" of the main key, "CN" when absent.
    std::string GetCurrentVersion();
    // A value of the main key; the install path default when absent.
    std::string GetSysInfo(const std::string& name);
    // Writes a REG_DWORD under "\setting". The registry's result code, or -1 when that key is
    // missing (it is never created here).
    long SetKeyValue(const std::string& name, std::int32_t value);
    // A number under "\setting", 0 when absent or not a number.
    std::int32_t GetKey_Value(const std::string& name);
    // "HistoryValue" under "\setting", -1 when absent or not a number.
    std::int32_t GetHistoryValue();
    // The generic reader: REG_SZ as stored, REG_DWORD as signed decimal, any other type "";
    // a value longer than the 1024-byte buffer, like a missing one, is not found.
    void GetKeyValue(RegistryHive hive, const std::string& keyPath, const std::string& valueName,
                     std::string& value, bool& found);

  private:
    std::int32_t readNumber(const std::string& key, const std::string& name, std::int32_t fallback);
    registry::Registry& registry_;
};

// The eleven dialog positions: loaded at connection (0 for a missing value) and saved at
// terminate. A stored number too large for a position ends the load: the three tab indices
// become 0 and the search positions loaded so far stay.
void loadUiIndices(readRegister& settings, UiIndices& ui);
// Every write is tried; failures are ignored.
void saveUiIndices(readRegister& settings, const UiIndices& ui);

} // namespace velmora
