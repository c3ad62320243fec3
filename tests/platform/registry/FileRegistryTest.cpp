// The file registry: its text format, name matching, sharing the file with other processes, and
// reading around a malformed line while keeping the file from every write.
#include "platform/registry/FileRegistry.h"
#include "platform/log/Log.h"
#include "platform/registry/Registry.h"
#include "platform/registry/RegistryReader.h"
#include "support/TestSession.h"

#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

namespace velmora::registry {
namespace {

std::string readFile(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const std::filesystem::path& p, const std::string& text) {
    std::ofstream(p, std::ios::binary) << text;
}

const std::string key = "Software\\OutLook Sync Velmora";

TEST(FileRegistry, ValuesOfEveryKindSurviveTheFile) {
    testing::TempDir temp;
    const auto file = temp.path() / "registry";
    const std::vector<std::pair<std::string, RegValue>> values = {
        {"path", textValue("c:\\Program Files\\Velmora\\Velmora Outlook Client")},
        {"a=b \"quoted\"", textValue("x = \"y\"\nsecond line\ttab\\ end")},
        {"语言", textValue("Velmora－Outlook信息同步")},
        {"empty", textValue("")},
        {"nul inside", {REG_SZ, {'a', 0, 'b', 0}}},
        {"no terminator", {REG_SZ, {'a', 'b'}}},
        {"HistoryValue", dwordValue(0xfffffffe)},
        {"short dword", {REG_DWORD, {1, 2}}},
        {"bytes", {REG_BINARY, {0x00, 0x7f, 0xff, '\n'}}},
        {"no bytes", {REG_BINARY, {}}},
        {"odd type", {7, {'a', 0, 0}}},
    };
    FileRegistry writer(file);
    ASSERT_EQ(writer.CreateKey(key + "\\setting"), ERROR_SUCCESS);
    for (const auto& [name, value] : values)
        ASSERT_EQ(writer.SetValue(key, name, value), ERROR_SUCCESS) << name;

    FileRegistry reader(file);
    for (const auto& [name, value] : values) {
        const auto got = reader.QueryValue(key, name);
        ASSERT_TRUE(got) << name;
        EXPECT_EQ(got->type, value.type) << name;
        EXPECT_EQ(got->data, value.data) << name;
    }
    // Every value sits on its own line, so a hand edit cannot run into the next one.
    const std::string text = readFile(file);
    EXPECT_NE(text.find("\"HistoryValue\"=dword:0xfffffffe\n"), std::string::npos) << text;
    EXPECT_NE(text.find("sz:\"Velmora－Outlook信息同步\""), std::string::npos) << text;
    EXPECT_EQ(parseRegistryText(text).document.serialize(), text);
}

TEST(FileRegistry, NamesMatchWithoutRegardToCaseAndKeepTheirFirstSpelling) {
    testing::TempDir temp;
    FileRegistry reg(temp.path() / "registry");
    EXPECT_FALSE(reg.KeyExists(key));
    EXPECT_EQ(reg.SetValue(key, "Language", textValue("CN")), ERROR_FILE_NOT_FOUND);
    ASSERT_EQ(reg.CreateKey("\\" + key + "\\\\setting\\"), ERROR_SUCCESS);
    EXPECT_TRUE(reg.KeyExists("SOFTWARE\\outlook sync velmora"));
    EXPECT_TRUE(reg.KeyExists("software"));
    EXPECT_FALSE(reg.KeyExists("Software\\OutLook"));

    ASSERT_EQ(reg.SetValue(key + "\\setting", "searchfieldIndexforContact", dwordValue(2)), 0);
    ASSERT_EQ(reg.SetValue("software\\OUTLOOK SYNC VELMORA\\Setting", "SEARCHFIELDINDEXFORCONTACT",
                           dwordValue(261)),
              0);
    const auto got = reg.QueryValue(key + "\\SETTING", "searchFieldindexforContact");
    ASSERT_TRUE(got);
    EXPECT_EQ(got->data, dwordValue(261).data);

    const RegistryDocument doc = reg.load();
    ASSERT_EQ(doc.keys().size(), 1u);
    EXPECT_EQ(doc.keys()[0].path, key + "\\setting");
    ASSERT_EQ(doc.keys()[0].values.size(), 1u);
    EXPECT_EQ(doc.keys()[0].values[0].name, "searchfieldIndexforContact");

    EXPECT_EQ(reg.DeleteValue(key + "\\setting", "SearchFieldIndexForContact"), ERROR_SUCCESS);
    EXPECT_EQ(reg.DeleteValue(key + "\\setting", "SearchFieldIndexForContact"),
              ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(reg.DeleteKey("SOFTWARE"), ERROR_SUCCESS);
    EXPECT_FALSE(reg.KeyExists(key + "\\setting"));
}

TEST(FileRegistry, ChangesOfOtherProcessesShowAtTheNextRead) {
    testing::TempDir temp;
    const auto file = temp.path() / "registry";
    FileRegistry ours(file);
    ASSERT_EQ(ours.CreateKey(key + "\\setting"), 0);
    EXPECT_FALSE(ours.QueryValue(key + "\\setting", "HistoryValue"));

    writeFile(file, "[Software\\OutLook Sync Velmora\\setting]\n\"HistoryValue\" = dword:3\n");
    auto got = ours.QueryValue(key + "\\setting", "HistoryValue");
    ASSERT_TRUE(got);
    EXPECT_EQ(got->data, dwordValue(3).data);

    // Two processes writing at once lose none of each other's values.
    const int perProcess = 40;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    const std::string prefix = child == 0 ? "child" : "parent";
    bool allWritten = true;
    FileRegistry writer(file);
    for (int i = 0; i < perProcess; ++i)
        allWritten =
            writer.SetValue(key, prefix + std::to_string(i), dwordValue(i)) == 0 && allWritten;
    if (child == 0) ::_exit(allWritten ? 0 : 1);
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(allWritten);
    EXPECT_EQ(WEXITSTATUS(status), 0);
    const RegistryDocument doc = ours.load();
    ASSERT_TRUE(doc.findKey(key));
    EXPECT_EQ(doc.findKey(key)->values.size(), 2u * perProcess);
    EXPECT_TRUE(ours.QueryValue(key + "\\setting", "HistoryValue"));
}

TEST(FileRegistry, AMalformedLineIsSkippedWithOneWarningAndNoWriteTouchesTheFile) {
    testing::TempDir temp;
    const auto file = temp.path() / "registry";
    const auto logFile = temp.path() / "velmora.log";
    const std::string broken = "[Software\\OutLook Sync Velmora]\n"
                               "\"path\"=sz:\"unterminated\n"
                               "\"Language\"=sz:\"EN\"\n"
                               "[Software\\OutLook Sync Velmora\\setting]\n"
                               "\"HistoryValue\"=dword:123456789\n"
                               "\"MailTabIndex\"=dword:2\n";
    writeFile(file, broken);
    ::setenv("VELMORA_LOG_FILE", logFile.c_str(), 1);
    log::open("velmora-test", false);
    FileRegistry reg(file);
    const auto language = reg.QueryValue(key, "Language");
    log::close();
    ::unsetenv("VELMORA_LOG_FILE");

    // The good lines stay readable, so the language does not fall back to Chinese.
    ASSERT_TRUE(language);
    EXPECT_EQ(language->data, textValue("EN").data);
    EXPECT_TRUE(reg.QueryValue(key + "\\setting", "MailTabIndex"));
    EXPECT_FALSE(reg.QueryValue(key, "path"));
    EXPECT_FALSE(reg.QueryValue(key + "\\setting", "HistoryValue"));
    // One warning for the read, naming the file and its first bad line.
    const std::string logged = readFile(logFile);
    EXPECT_EQ(logged.find(" warning: "), logged.rfind(" warning: ")) << logged;
    EXPECT_NE(logged.find(" warning: " + file.string() + ": line 2: unterminated quoted text"),
              std::string::npos)
        << logged;

    EXPECT_EQ(reg.SetValue(key, "Language", textValue("CN")), ERROR_BADDB);
    EXPECT_NE(reg.lastError().find(file.string()), std::string::npos) << reg.lastError();
    EXPECT_NE(reg.lastError().find("line 2"), std::string::npos) << reg.lastError();
    EXPECT_EQ(reg.CreateKey("Software\\Other"), ERROR_BADDB);
    EXPECT_EQ(reg.DeleteValue(key, "Language"), ERROR_BADDB);
    EXPECT_EQ(readFile(file), broken);

    // A path that is not a readable file reads as no keys and is never replaced.
    const auto folder = temp.path() / "folder";
    std::filesystem::create_directory(folder);
    FileRegistry notAFile(folder);
    EXPECT_FALSE(notAFile.KeyExists(key));
    EXPECT_NE(notAFile.CreateKey(key), ERROR_SUCCESS);
    EXPECT_FALSE(notAFile.lastError().empty());
    EXPECT_THROW(notAFile.load(), RegistryError);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
}

TEST(FileRegistry, WritesLeaveOnlyTheRegistryFile) {
    testing::TempDir temp;
    const auto file = temp.path() / "velmora" / "registry";
    FileRegistry reg(file);
    EXPECT_EQ(reg.SetValue(key, "Language", textValue("CN")), ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(std::filesystem::exists(file));
    ASSERT_EQ(reg.CreateKey(key), 0);
    std::filesystem::permissions(file, std::filesystem::perms(0640));
    for (int i = 0; i < 5; ++i)
        ASSERT_EQ(reg.SetValue(key, "n" + std::to_string(i), dwordValue(i)), 0);
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(file.parent_path()))
        names.push_back(e.path().filename().string());
    EXPECT_EQ(names, std::vector<std::string>{"registry"});
    EXPECT_EQ(std::filesystem::status(file).permissions(), std::filesystem::perms(0640));
}

TEST(FileRegistry, DefaultPathFollowsTheEnvironment) {
    const char* saved = std::getenv("VELMORA_REGISTRY");
    const std::string keep = saved ? saved : "";
    const std::string home = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("VELMORA_REGISTRY", "/some/where/reg", 1);
    EXPECT_EQ(FileRegistry::defaultPath(), "/some/where/reg");
    ::unsetenv("VELMORA_REGISTRY");
    ::setenv("HOME", "/home/tester", 1);
    const char* savedXdg = std::getenv("XDG_CONFIG_HOME");
    const std::string keepXdg = savedXdg ? savedXdg : "";
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(FileRegistry::defaultPath(), "/home/tester/.config/velmora/registry");
    ::setenv("XDG_CONFIG_HOME", "/xdg/config", 1);
    EXPECT_EQ(FileRegistry::defaultPath(), "/xdg/config/velmora/registry");
    // A relative value is no base directory: the home's folder is used instead.
    ::setenv("XDG_CONFIG_HOME", "config", 1);
    EXPECT_EQ(FileRegistry::defaultPath(), "/home/tester/.config/velmora/registry");
    if (savedXdg)
        ::setenv("XDG_CONFIG_HOME", keepXdg.c_str(), 1);
    else
        ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", home.c_str(), 1);
    if (saved) ::setenv("VELMORA_REGISTRY", keep.c_str(), 1);
}

} // namespace
} // namespace velmora::registry
