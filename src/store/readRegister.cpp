// The settings class over the registry seam, and the load and save of the dialog positions.
// The names read at connection differ in letter case from those written at terminate.
#include "store/readRegister.h"

#include <charconv>
#include <limits>
#include <stdexcept>

namespace velmora {

namespace {

// The numeric readers' conversion: an optional sign and digits filling the whole text.
bool toInt32(const std::string& text, std::int32_t& out) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+') ++first;
    const auto [end, err] = std::from_chars(first, last, out);
    return err == std::errc() && end == last && first != last;
}

std::int16_t toInt16(std::int32_t n, const char* name) {
    if (n < std::numeric_limits<std::int16_t>::min() ||
        n > std::numeric_limits<std::int16_t>::max())
        throw std::overflow_error(std::string("Overflow: ") + name + " = " + std::to_string(n));
    return static_cast<std::int16_t>(n);
}

} // namespace

void readRegister::GetKeyValue(RegistryHive hive, const std::string& keyPath,
                               const std::string& valueName, std::string& value, bool& found) {
    value.clear();
    found = false;
    try {
        if (hive != HKEY_CURRENT_USER || !registry_.KeyExists(keyPath)) return;
        const auto stored = registry_.QueryValue(keyPath, valueName);
        if (!stored || stored->data.size() > bufferSize) return;
        if (const auto text = registry::asText(*stored)) {
            value = *text;
        } else if (stored->type == registry::REG_DWORD) {
            // A DWORD of another length reads as its first four bytes, zero-padded.
            registry::RegValue dword = *stored;
            dword.data.resize(4);
            value = std::to_string(static_cast<std::int32_t>(*registry::asDword(dword)));
        }
        found = true;
    } catch (const std::exception&) {
        value.clear();
        found = false;
    }
}

std::string readRegister::GetCurrentVersion() {
    std::string value;
    bool found = false;
    GetKeyValue(HKEY_CURRENT_USER, mainKey, "Language", value, found);
    return found ? value : defaultLanguage;
}

std::string readRegister::GetSysInfo(const std::string& name) {
    std::string value;
    bool found = false;
    GetKeyValue(HKEY_CURRENT_USER, mainKey, name, value, found);
    return found ? value : defaultPath;
}

std::int32_t readRegister::readNumber(const std::string& key, const std::string& name,
                                      std::int32_t fallback) {
    std::string text;
    bool found = false;
    GetKeyValue(HKEY_CURRENT_USER, key, name, text, found);
    std::int32_t n = 0;
    return found && toInt32(text, n) ? n : fallback;
}

std::int32_t readRegister::GetKey_Value(const std::string& name) {
    return readNumber(settingKey, name, 0);
}

std::int32_t readRegister::GetHistoryValue() {
    return readNumber(settingKey, "HistoryValue", -1);
}

long readRegister::SetKeyValue(const std::string& name, std::int32_t value) {
    try {
        if (!registry_.KeyExists(settingKey)) return -1;
        return registry_.SetValue(settingKey, name,
                                  registry::dwordValue(static_cast<std::uint32_t>(value)));
    } catch (const std::exception&) {
        // A registry that raises counts as a key that could not be opened.
        return -1;
    }
}

void loadUiIndices(readRegister& settings, UiIndices& ui) {
    const std::pair<std::int16_t UiIndices::*, const char*> order[] = {
        {&UiIndices::noteTab, "NoteTabIndex"},
        {&UiIndices::mailTab, "MailTabIndex"},
        {&UiIndices::calendarTab, "CalendarTabIndex"},
        {&UiIndices::contactSearchField, "searchFieldindexforContact"},
        {&UiIndices::contactSearchMode, "searchmodeindexforContact"},
        {&UiIndices::contactSearchTime, "searchTimeindexforContact"},
        {&UiIndices::contactSearchTimeRange, "searchTimerangeindexforContact"},
        {&UiIndices::eventSearchField, "searchFieldindexforEvent"},
        {&UiIndices::eventSearchMode, "searchmodeindexforEvent"},
        {&UiIndices::eventSearchTime, "searchTimeindexforEvent"},
        {&UiIndices::eventSearchTimeRange, "searchTimerangeindexforEvent"},
    };
    try {
        for (const auto& [member, name] : order)
            ui.*member = toInt16(settings.GetKey_Value(name), name);
    } catch (const std::exception&) {
        ui.noteTab = 0;
        ui.mailTab = 0;
        ui.calendarTab = 0;
    }
}

void saveUiIndices(readRegister& settings, const UiIndices& ui) {
    const std::pair<std::int16_t, const char*> values[] = {
        {ui.noteTab, "NoteTabIndex"},
        {ui.mailTab, "MailTabIndex"},
        {ui.calendarTab, "CalendarTabIndex"},
        {ui.contactSearchField, "searchfieldIndexforContact"},
        {ui.contactSearchMode, "searchModeIndexforContact"},
        {ui.contactSearchTime, "searchTimeIndexforContact"},
        {ui.contactSearchTimeRange, "searchTimeRangeIndexforContact"},
        {ui.eventSearchField, "searchfieldIndexforevent"},
        {ui.eventSearchMode, "searchModeIndexforevent"},
        {ui.eventSearchTime, "searchTimeIndexforevent"},
        {ui.eventSearchTimeRange, "searchTimeRangeIndexforevent"},
    };
    for (const auto& [value, name] : values)
        settings.SetKeyValue(name, value);
}

} // namespace velmora
