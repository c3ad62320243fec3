// Registry text in both formats: a registry editor's export read below the user's hive, bad
// lines named and skipped one by one, and the export written back as the same values.
#include "platform/registry/Registry.h"
#include "platform/registry/RegistryExport.h"
#include "platform/registry/RegistryReader.h"

#include <gtest/gtest.h>

namespace velmora::registry {
namespace {

const std::string key = "Software\\OutLook Sync Velmora";

std::vector<std::uint8_t> bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

std::vector<int> lineNumbers(const std::vector<MalformedLine>& skipped) {
    std::vector<int> numbers;
    for (const auto& line : skipped)
        numbers.push_back(line.number);
    return numbers;
}

TEST(RegistryText, ARegistryEditorExportIsReadBelowTheUsersHive) {
    const std::string text = "\xEF\xBB\xBFWindows Registry Editor Version 5.00\r\n"
                             "\r\n"
                             "; written by hand\r\n"
                             "[HKEY_CURRENT_USER\\Software\\OutLook Sync Velmora]\r\n"
                             "@=\"default\"\r\n"
                             "\"Language\"=\"EN\"\r\n"
                             "\"path\"=\"c:\\\\Program Files\\\\\\\"V\\\"\"\r\n"
                             "\"Old\"=\"gone soon\"\r\n"
                             "\"Old\"=-\r\n"
                             "\r\n"
                             "[hkcu\\Software\\OutLook Sync Velmora\\setting]\r\n"
                             "\"HistoryValue\"=dword:0000000a\r\n"
                             "\"picture\"=hex:00,7f,\\\r\n"
                             "  ff\r\n"
                             "\"expand\"=hex(2):25,00,2d,4e,00,00\r\n"
                             "\"big\"=hex(b):01,00,00,00,00,00,00,00\r\n"
                             "[HKEY_CURRENT_USER\\Software\\Gone]\r\n"
                             "\"x\"=dword:1\r\n"
                             "[-HKEY_CURRENT_USER\\Software\\Gone]\r\n";
    const auto [doc, skipped] = parseRegistryText(text);
    EXPECT_TRUE(skipped.empty()) << describeSkipped(skipped);
    const auto valueOf = [&](const std::string& k, const std::string& name) {
        const RegValue* v = doc.findValue(k, name);
        return v ? *v : RegValue{REG_NONE, bytes("missing")};
    };
    EXPECT_EQ(valueOf(key, "").data, bytes(std::string("default", 8)));
    EXPECT_EQ(valueOf(key, "Language").data, bytes(std::string("EN", 3)));
    EXPECT_EQ(valueOf(key, "path").data, bytes(std::string("c:\\Program Files\\\"V\"", 21)));
    EXPECT_FALSE(doc.findValue(key, "Old"));
    const std::string setting = key + "\\setting";
    EXPECT_EQ(valueOf(setting, "HistoryValue").data, (std::vector<std::uint8_t>{10, 0, 0, 0}));
    EXPECT_EQ(valueOf(setting, "picture").type, REG_BINARY);
    EXPECT_EQ(valueOf(setting, "picture").data, (std::vector<std::uint8_t>{0, 0x7f, 0xff}));
    // The editor keeps text types in UTF-16LE; the file keeps UTF-8.
    EXPECT_EQ(valueOf(setting, "expand").type, 2u);
    EXPECT_EQ(valueOf(setting, "expand").data, bytes(std::string("%中", 4) + '\0'));
    EXPECT_EQ(valueOf(setting, "big").type, 11u);
    EXPECT_FALSE(doc.hasKey("Software\\Gone"));

    // The editor's own files are UTF-16LE with a byte order mark.
    const std::u16string wide = u"Windows Registry Editor Version 5.00\r\n\r\n"
                                u"[HKEY_CURRENT_USER\\Software\\OutLook Sync Velmora]\r\n"
                                u"\"Language\"=\"中文\"\r\n";
    std::string utf16 = "\xFF\xFE";
    for (const char16_t unit : wide) {
        utf16 += static_cast<char>(unit & 0xff);
        utf16 += static_cast<char>(unit >> 8);
    }
    const auto fromUtf16 = parseRegistryText(utf16);
    EXPECT_TRUE(fromUtf16.skipped.empty()) << describeSkipped(fromUtf16.skipped);
    const RegValue* language = fromUtf16.document.findValue(key, "Language");
    ASSERT_TRUE(language);
    EXPECT_EQ(language->data, bytes("中文" + std::string(1, '\0')));
}

TEST(RegistryText, EachBadLineIsNamedAndSkippedAndTheRestIsRead) {
    const auto [doc, skipped] =
        parseRegistryText("Windows Registry Editor Version 5.00\n"
                          "[HKEY_LOCAL_MACHINE\\Software\\OutLook Sync Velmora]\n"
                          "\"Language\"=\"CN\"\n"
                          "[HKEY_CURRENT_USER\\Software\\OutLook Sync Velmora]\n"
                          "\"path\"=\"c:\\temp\"\n"
                          "\"odd\"=hex(1):41,00,42\n"
                          "\"bytes\"=hex:00,\\\n"
                          "  zz,\\\n"
                          "  01\n"
                          "\"Language\"=\"EN\"\n"
                          "[Software\\NoHive]\n");
    EXPECT_EQ(lineNumbers(skipped), (std::vector<int>{2, 3, 5, 6, 7, 11}));
    EXPECT_EQ(describeSkipped(skipped).rfind("line 2: HKEY_LOCAL_MACHINE is not kept here", 0), 0u)
        << describeSkipped(skipped);
    EXPECT_NE(describeSkipped(skipped).find("(and 5 more malformed lines)"), std::string::npos);
    // A value under the refused key went nowhere; the one after the bad lines is read.
    ASSERT_EQ(doc.keys().size(), 1u);
    ASSERT_EQ(doc.keys()[0].values.size(), 1u);
    EXPECT_EQ(doc.keys()[0].values[0].name, "Language");
    EXPECT_EQ(doc.keys()[0].values[0].value.data, bytes(std::string("EN", 3)));

    // The file's own format keeps its rules: decimal types, its escapes, no value twice.
    const auto own = parseRegistryText("[k]\n\"q\"=hex(11):01\n\"t\"=sz:\"a\\tb\"\n");
    EXPECT_TRUE(own.skipped.empty()) << describeSkipped(own.skipped);
    EXPECT_EQ(own.document.findValue("k", "q")->type, 11u);
    EXPECT_EQ(own.document.findValue("k", "t")->data, bytes(std::string("a\tb", 4)));
    for (const std::string bad :
         {"\"a\"=sz:\"x\"\n", "[k]\n\"a\"=sz:\"\\q\"\n", "[k]\n\"a\"=dword:123456789\n",
          "[k]\n\"a\"=hex(3):0g\n", "[k]\n\"a\"=sz:\"x\"\n\"A\"=sz:\"y\"\n", "[k]\nplain text\n",
          "[k]\n\"a\"=hex(b):01\n", "[HKLM\\Software]\n"})
        EXPECT_FALSE(parseRegistryText(bad).skipped.empty()) << bad;
    // An older editor's export keeps text bytes as they are.
    const auto old = parseRegistryText("REGEDIT4\n[HKCU\\k]\n\"e\"=hex(2):41,42,00\n");
    EXPECT_TRUE(old.skipped.empty()) << describeSkipped(old.skipped);
    EXPECT_EQ(old.document.findValue("k", "e")->data, bytes(std::string("AB", 3)));
}

TEST(RegistryText, AnExportReadsBackAsTheSameValuesInEitherEncoding) {
    std::vector<std::uint8_t> longBytes(100);
    for (std::size_t i = 0; i < longBytes.size(); ++i)
        longBytes[i] = static_cast<std::uint8_t>(i * 7);
    const std::vector<std::pair<std::string, RegValue>> values = {
        {"", {REG_SZ, bytes(std::string("default", 8))}},
        {"Language", {REG_SZ, bytes(std::string("Velmora－Outlook信息同步", 30))}},
        {"quotes \"and\" \\", {REG_SZ, bytes(std::string("c:\\x \"y\"", 9))}},
        {"two lines", {REG_SZ, bytes(std::string("a\nb", 4))}},
        {"no terminator", {REG_SZ, bytes("ab")}},
        {"zero inside", {REG_SZ, bytes(std::string("a\0b", 4))}},
        {"HistoryValue", {REG_DWORD, {0xfe, 0xff, 0xff, 0xff}}},
        {"short dword", {REG_DWORD, {1, 2}}},
        {"long bytes", {REG_BINARY, longBytes}},
        {"no bytes", {REG_BINARY, {}}},
        {"list", {7, bytes(std::string("一\0two\0\0", 9))}},
        {"qword", {11, {1, 2, 3, 4, 5, 6, 7, 8}}},
    };
    RegistryDocument doc;
    doc.createKey(key + "\\setting");
    for (const auto& [name, value] : values)
        doc.setValue(key, name, value);

    const std::string text = exportText(doc);
    EXPECT_EQ(text.rfind("Windows Registry Editor Version 5.00\n", 0), 0u);
    EXPECT_NE(text.find("\n[HKEY_CURRENT_USER\\Software\\OutLook Sync Velmora\\setting]\n"),
              std::string::npos);
    EXPECT_NE(text.find("\n\"Language\"=\"Velmora－Outlook信息同步\"\n"), std::string::npos);
    EXPECT_NE(text.find("\n\"HistoryValue\"=dword:fffffffe\n"), std::string::npos);
    EXPECT_NE(text.find("\n@=\"default\"\n"), std::string::npos);
    for (std::size_t start = 0, end; (end = text.find('\n', start)) != std::string::npos;
         start = end + 1)
        EXPECT_LE(end - start, 80u) << text.substr(start, end - start);

    for (const std::string& file : {text, utf16File(text)}) {
        const auto read = parseRegistryText(file);
        EXPECT_TRUE(read.skipped.empty()) << describeSkipped(read.skipped);
        EXPECT_TRUE(read.document.findKey(key + "\\setting"));
        for (const auto& [name, value] : values) {
            const RegValue* got = read.document.findValue(key, name);
            ASSERT_TRUE(got) << name;
            EXPECT_EQ(got->type, value.type) << name;
            EXPECT_EQ(got->data, value.data) << name;
        }
    }

    // UTF-16 cannot carry bytes that are no text: the export names the value instead.
    doc.setValue(key, "broken", {REG_SZ, {0xff, 0xfe, 0}});
    try {
        exportText(doc);
        ADD_FAILURE() << "a text that is not UTF-8 was exported";
    } catch (const RegistryError& e) {
        EXPECT_NE(std::string(e.what()).find("\"broken\""), std::string::npos) << e.what();
    }
}

TEST(RegistryText, KeysNamedLikeAHiveReadBackAsTheSameKeys) {
    // Below HKEY_CURRENT_USER a key may be called "HKLM"; the file must not read it as the hive.
    RegistryDocument doc;
    for (const std::string path : {"HKLM\\Software", "HKEY_CURRENT_USER\\Software", "hkcu",
                                   "HKEY_Velmora", "Software\\HKLM"})
        doc.setValue(path, "x", textValue(path));
    const auto read = parseRegistryText(doc.serialize());
    EXPECT_TRUE(read.skipped.empty()) << describeSkipped(read.skipped);
    EXPECT_TRUE(read.document == doc) << read.document.serialize();
    // A leading separator does not hide another hive from the reader.
    EXPECT_EQ(
        lineNumbers(parseRegistryText("[\\HKEY_LOCAL_MACHINE\\Software]\n[\\\\HKLM]\n").skipped),
        (std::vector<int>{1, 2}));
}

} // namespace
} // namespace velmora::registry
