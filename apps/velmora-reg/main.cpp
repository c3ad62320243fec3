// velmora-reg: looks at and changes the per-user registry file the add-in and Tidewell share,
// as an installer ("Language", "path") or a user ("HistoryValue") would.
#include "platform/registry/FileRegistry.h"
#include "platform/registry/Registry.h"

#include <cstdio>
#include <iostream>
#include <stdexcept>
#include <string>
#include <vector>

using namespace velmora::registry;

namespace {

const char* usage =
    "usage: velmora-reg [--file PATH] COMMAND\n"
    "  query KEY [NAME]                  print a key's values, or one value\n"
    "  add KEY NAME --sz TEXT | --dword N  set a value, making the key if needed\n"
    "  delete KEY [NAME]                 remove a value, or a key with its subkeys\n"
    "  list                              print every key and value\n"
    "KEY is a path such as \"Software\\OutLook Sync Velmora\\setting\".\n";

class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

std::string typeName(std::uint32_t type) {
    switch (type) {
    case REG_NONE:
        return "REG_NONE";
    case REG_SZ:
        return "REG_SZ";
    case 2:
        return "REG_EXPAND_SZ";
    case REG_BINARY:
        return "REG_BINARY";
    case REG_DWORD:
        return "REG_DWORD";
    case 7:
        return "REG_MULTI_SZ";
    case 11:
        return "REG_QWORD";
    default:
        return "REG_TYPE_" + std::to_string(type);
    }
}

// One line per value: line breaks inside a text are shown escaped.
std::string shown(const RegValue& v) {
    char buf[32];
    if (v.type == REG_DWORD && v.data.size() == 4) {
        const std::uint32_t n = v.data[0] | v.data[1] << 8 | v.data[2] << 16 |
                                static_cast<std::uint32_t>(v.data[3]) << 24;
        std::snprintf(buf, sizeof buf, "0x%08x (%d)", n, static_cast<std::int32_t>(n));
        return buf;
    }
    if (v.type == REG_SZ) {
        std::string text(v.data.begin(), v.data.end());
        if (!text.empty() && text.back() == '\0') text.pop_back();
        std::string out;
        for (char c : text)
            out += c == '\n' ? "\\n" : c == '\r' ? "\\r" : std::string(1, c);
        return out;
    }
    std::string out;
    for (auto b : v.data) {
        std::snprintf(buf, sizeof buf, "%02X", b);
        out += buf;
    }
    return out;
}

void printValue(const NamedValue& v, const std::string& indent) {
    std::cout << indent << (v.name.empty() ? "(Default)" : v.name) << "  " << typeName(v.value.type)
              << "  " << shown(v.value) << "\n";
}

RegValue parseDword(const std::string& text) {
    std::size_t used = 0;
    long long n = 0;
    try {
        n = std::stoll(text, &used, 0);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || text.empty() || n < -2147483648LL || n > 0xffffffffLL)
        throw std::runtime_error("not a 32-bit number: " + text);
    const auto u = static_cast<std::uint32_t>(n);
    return {REG_DWORD,
            {std::uint8_t(u), std::uint8_t(u >> 8), std::uint8_t(u >> 16), std::uint8_t(u >> 24)}};
}

int run(std::vector<std::string> args) {
    std::filesystem::path file;
    if (args.size() >= 2 && args[0] == "--file") {
        file = args[1];
        args.erase(args.begin(), args.begin() + 2);
    }
    if (args.empty()) throw UsageError("missing command");
    if (args[0] == "--help" || args[0] == "-h") {
        std::cout << usage;
        return 0;
    }
    FileRegistry reg(file.empty() ? FileRegistry::defaultPath() : file);
    const std::string command = args[0];

    if (command == "list" && args.size() == 1) {
        const RegistryDocument doc = reg.load();
        for (const auto& key : doc.keys()) {
            std::cout << "[" << key.path << "]\n";
            for (const auto& v : key.values)
                printValue(v, "  ");
        }
        return 0;
    }
    if (command == "query" && (args.size() == 2 || args.size() == 3)) {
        const RegistryDocument doc = reg.load();
        if (!doc.hasKey(args[1])) throw std::runtime_error("key not found: " + args[1]);
        const RegistryKey* key = doc.findKey(args[1]);
        bool any = false;
        for (const auto& v : key ? key->values : std::vector<NamedValue>{})
            if (args.size() == 2 || RegistryDocument::sameName(v.name, args[2])) {
                printValue(v, "");
                any = true;
            }
        if (args.size() == 3 && !any)
            throw std::runtime_error("value not found: " + args[1] + " \"" + args[2] + "\"");
        return 0;
    }
    if (command == "add" && args.size() == 5 && (args[3] == "--sz" || args[3] == "--dword")) {
        RegValue value;
        if (args[3] == "--sz") {
            value = {REG_SZ, {args[4].begin(), args[4].end()}};
            value.data.push_back(0);
        } else {
            value = parseDword(args[4]);
        }
        reg.update([&](RegistryDocument& doc) {
            doc.setValue(args[1], args[2], value);
            return true;
        });
        return 0;
    }
    if (command == "delete" && (args.size() == 2 || args.size() == 3)) {
        const long status =
            args.size() == 2 ? reg.DeleteKey(args[1]) : reg.DeleteValue(args[1], args[2]);
        if (status != ERROR_SUCCESS) throw std::runtime_error(reg.lastError());
        return 0;
    }
    throw UsageError("unknown command or wrong arguments: " + command);
}

} // namespace

int main(int argc, char** argv) {
    try {
        return run(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const UsageError& e) {
        std::cerr << "velmora-reg: " << e.what() << "\n" << usage;
    } catch (const std::exception& e) {
        std::cerr << "velmora-reg: " << e.what() << "\n";
    }
    return 1;
}
