// The settings reader over a real registry file: defaults, the generic reader's conversions,
// the "\setting" key rule and the dialog positions' load and save.
#include "store/readRegister.h"
#include "platform/registry/FileRegistry.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <vector>

namespace velmora {
namespace {

using registry::RegValue;

// The dialog positions in the order they are saved, to set and compare all of them at once.
using Positions = std::vector<int>;

Positions positionsOf(const UiIndices& u) {
    return {u.noteTab,
            u.mailTab,
            u.calendarTab,
            u.contactSearchField,
            u.contactSearchMode,
            u.contactSearchTime,
            u.contactSearchTimeRange,
            u.eventSearchField,
            u.eventSearchMode,
            u.eventSearchTime,
            u.eventSearchTimeRange};
}

UiIndices indicesOf(const Positions& p) {
    const auto at = [&](std::size_t i) { return static_cast<std::int16_t>(p.at(i)); };
    return {at(0), at(1), at(2), at(3), at(4), at(5), at(6), at(7), at(8), at(9), at(10)};
}

struct Settings {
    testing::TempDir temp;
    registry::FileRegistry registry{temp.path() / "registry"};
    readRegister settings{registry};
};

// Every call raises, as a registry that lost its store might.
class FailingRegistry : public registry::Registry {
  public:
    bool KeyExists(const std::string&) override { throw std::runtime_error("gone"); }
    std::optional<RegValue> QueryValue(const std::string&, const std::string&) override {
        throw std::runtime_error("gone");
    }
    long SetValue(const std::string&, const std::string&, const RegValue&) override {
        throw std::runtime_error("gone");
    }
    long CreateKey(const std::string&) override { throw std::runtime_error("gone"); }
    long DeleteValue(const std::string&, const std::string&) override {
        throw std::runtime_error("gone");
    }
};

TEST(readRegister, DefaultsWithoutTheKeyOrWithAFailingRegistry) {
    Settings s;
    FailingRegistry failing;
    readRegister broken(failing);
    for (readRegister* r : {&s.settings, &broken}) {
        EXPECT_EQ(r->GetCurrentVersion(), "CN");
        EXPECT_EQ(r->GetSysInfo("path"), "c:\\Program Files\\Velmora\\Velmora Outlook Client");
        EXPECT_EQ(r->GetHistoryValue(), -1);
        EXPECT_EQ(r->GetKey_Value("NoteTabIndex"), 0);
        // The "\setting" key is never created by a write.
        EXPECT_EQ(r->SetKeyValue("HistoryValue", 0), -1);
    }
    EXPECT_FALSE(s.registry.KeyExists(readRegister::settingKey));

    // The main key alone is not enough for a write under "\setting".
    ASSERT_EQ(s.registry.CreateKey(readRegister::mainKey), 0);
    EXPECT_EQ(s.settings.SetKeyValue("HistoryValue", 0), -1);
    EXPECT_FALSE(s.registry.KeyExists(readRegister::settingKey));
}

TEST(readRegister, TheGenericReaderConvertsByType) {
    Settings s;
    const std::string key = readRegister::settingKey;
    ASSERT_EQ(s.registry.CreateKey(key), 0);
    ASSERT_EQ(s.registry.SetValue(readRegister::mainKey, "Language", registry::textValue("EN")), 0);
    ASSERT_EQ(
        s.registry.SetValue(readRegister::mainKey, "path", registry::textValue("/opt/velmora")), 0);
    ASSERT_EQ(
        s.registry.SetValue(key, "negative", registry::dwordValue(static_cast<std::uint32_t>(-5))),
        0);
    ASSERT_EQ(s.registry.SetValue(key, "text", registry::textValue("12")), 0);
    ASSERT_EQ(s.registry.SetValue(key, "word", registry::textValue("twelve")), 0);
    ASSERT_EQ(s.registry.SetValue(key, "binary", {registry::REG_BINARY, {'4', '2'}}), 0);
    ASSERT_EQ(s.registry.SetValue(key, "long", registry::textValue(std::string(1024, 'x'))), 0);
    ASSERT_EQ(s.registry.SetValue(key, "fits", registry::textValue(std::string(1023, 'x'))), 0);

    EXPECT_EQ(s.settings.GetCurrentVersion(), "EN");
    EXPECT_EQ(s.settings.GetSysInfo("path"), "/opt/velmora");
    EXPECT_EQ(s.settings.GetSysInfo("PATH"), "/opt/velmora");

    std::string value;
    bool found = false;
    s.settings.GetKeyValue(HKEY_CURRENT_USER, key, "negative", value, found);
    EXPECT_TRUE(found);
    EXPECT_EQ(value, "-5");
    s.settings.GetKeyValue(HKEY_CURRENT_USER, key, "binary", value, found);
    EXPECT_TRUE(found);
    EXPECT_EQ(value, "");
    // 1024 text bytes and the terminator overflow the buffer; 1023 and it fit.
    s.settings.GetKeyValue(HKEY_CURRENT_USER, key, "long", value, found);
    EXPECT_FALSE(found);
    s.settings.GetKeyValue(HKEY_CURRENT_USER, key, "fits", value, found);
    EXPECT_TRUE(found);
    EXPECT_EQ(value.size(), 1023u);
    s.settings.GetKeyValue(HKEY_LOCAL_MACHINE, key, "negative", value, found);
    EXPECT_FALSE(found);
    EXPECT_EQ(value, "");

    EXPECT_EQ(s.settings.GetKey_Value("negative"), -5);
    EXPECT_EQ(s.settings.GetKey_Value("text"), 12);
    EXPECT_EQ(s.settings.GetKey_Value("word"), 0);
    EXPECT_EQ(s.settings.GetKey_Value("binary"), 0);

    EXPECT_EQ(s.settings.GetHistoryValue(), -1);
    ASSERT_EQ(s.registry.SetValue(key, "HistoryValue", registry::dwordValue(3)), 0);
    EXPECT_EQ(s.settings.GetHistoryValue(), 3);
    EXPECT_EQ(s.settings.SetKeyValue("historyvalue", 0), 0);
    EXPECT_EQ(s.settings.GetHistoryValue(), 0);
    EXPECT_EQ(s.registry.QueryValue(key, "HistoryValue")->data, registry::dwordValue(0).data);
}

TEST(readRegister, DialogPositionsRoundTripUnderBothSpellings) {
    Settings s;
    ASSERT_EQ(s.registry.CreateKey(readRegister::settingKey), 0);
    const Positions saved = {2, 261, 1, 3, 4, 5, 6, 7, 8, 9, -1};
    saveUiIndices(s.settings, indicesOf(saved));

    UiIndices loaded;
    loadUiIndices(s.settings, loaded);
    EXPECT_EQ(positionsOf(loaded), saved);

    // The file keeps the spelling the save wrote: one value per position.
    const registry::RegistryDocument doc = s.registry.load();
    const auto* setting = doc.findKey(readRegister::settingKey);
    ASSERT_TRUE(setting);
    ASSERT_EQ(setting->values.size(), 11u);
    EXPECT_EQ(setting->values[3].name, "searchfieldIndexforContact");
    EXPECT_EQ(setting->values[10].name, "searchTimeRangeIndexforevent");
}

TEST(readRegister, APositionTooLargeEndsTheLoadAndZeroesTheTabs) {
    Settings s;
    ASSERT_EQ(s.registry.CreateKey(readRegister::settingKey), 0);
    saveUiIndices(s.settings, indicesOf({1, 2, 3, 4, 5, 0, 0, 6, 0, 0, 0}));
    ASSERT_EQ(s.settings.SetKeyValue("searchTimeIndexforContact", 70000), 0);

    UiIndices loaded = indicesOf({7, 7, 7, 7, 7, 7, 7, 99, 7, 7, 7});
    loadUiIndices(s.settings, loaded);
    // The tabs are zeroed, the positions before the failing one are read, and it and the
    // positions after it are not read.
    EXPECT_EQ(positionsOf(loaded), (Positions{0, 0, 0, 4, 5, 7, 7, 99, 7, 7, 7}));
}

} // namespace
} // namespace velmora
