// velmora-reg: looks at and changes the per-user registry file the add-in and Tidewell share,
// as an installer ("Language", "path") or a user ("HistoryValue") would.
#include "platform/log/Log.h"
#include "platform/registry/FileRegistry.h"
#include "platform/registry/Registry.h"
#include "platform/registry/RegistryExport.h"
#include "platform/registry/RegistryReader.h"
#include "ToolCommandLine.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iostream>
#include <iterator>
#include <stdexcept>
#include <string>

using namespace velmora;
using namespace velmora::registry;

namespace {

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
    if (const auto n = asDword(v)) {
        std::snprintf(buf, sizeof buf, "0x%08x (%d)", *n, static_cast<std::int32_t>(*n));
        return buf;
    }
    if (const auto text = asText(v)) {
        std::string out;
        for (char c : *text)
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
    const bool hex = text.starts_with("0x") || text.starts_with("0X");
    std::size_t used = 0;
    long long n = 0;
    try {
        n = std::stoll(text, &used, hex ? 16 : 10);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used != text.size() || text.empty() || n < -2147483648LL || n > 0xffffffffLL)
        throw app::UsageError("--dword needs a 32-bit number, decimal or 0x hex from "
                              "-2147483648 to 4294967295, not \"" +
                              text + "\"");
    return dwordValue(static_cast<std::uint32_t>(n));
}

std::string readFile(const std::string& path) {
    if (std::filesystem::is_directory(path))
        throw std::runtime_error("cannot read " + path + ": it is a folder");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path + ": " + std::strerror(errno));
    std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    if (in.bad()) throw std::runtime_error("cannot read " + path);
    return text;
}

// The commands, one member each, over the file --file or the environment names.
class RegTool {
  public:
    explicit RegTool(CLI::App& app);
    int run();

  private:
    FileRegistry announcedRegistry(bool creates) const;
    const std::string& keyArgument() const;
    int query();
    int add();
    int remove();
    int list();
    int exportRegistry();
    int import();

    CLI::App& app_;
    std::string file_;
    std::string key_;
    std::string name_;
    std::string sz_;
    std::string dword_;
    std::string importFile_;
    bool utf16_ = false;
    CLI::App* query_;
    CLI::App* add_;
    CLI::App* delete_;
    CLI::App* list_;
    CLI::App* export_;
    CLI::App* import_;
};

RegTool::RegTool(CLI::App& app) : app_(app) {
    app.add_option("--file", file_,
                   "the registry file (default $VELMORA_REGISTRY, else "
                   "$XDG_CONFIG_HOME/velmora/registry)")
        ->type_name("PATH");
    app.require_subcommand(0, 1);
    const std::string keyHelp = "a key path below HKEY_CURRENT_USER, keys separated by \\, such "
                                "as \"Software\\OutLook Sync Velmora\\setting\"";
    query_ = app.add_subcommand("query", "print a key's values, or one value, on standard output");
    query_->add_option("KEY", key_, keyHelp)->required();
    query_->add_option("NAME", name_, "the value's name (\"\" for the default value)");
    add_ = app.add_subcommand("add", "set a value, making the key when it is missing");
    add_->add_option("KEY", key_, keyHelp)->required();
    add_->add_option("NAME", name_, "the value's name (\"\" for the default value)")->required();
    auto* sz = add_->add_option("--sz", sz_, "the value is this text (REG_SZ)")->type_name("TEXT");
    add_->add_option("--dword", dword_,
                     "the value is this number (REG_DWORD): decimal or 0x hex, -2147483648 to "
                     "4294967295")
        ->type_name("N")
        ->excludes(sz);
    delete_ = app.add_subcommand("delete", "remove a value, or a key with every key below it");
    delete_->add_option("KEY", key_, keyHelp)->required();
    delete_->add_option("NAME", name_, "the value to remove; without it the key goes");
    list_ = app.add_subcommand("list", "print every key and value on standard output");
    export_ = app.add_subcommand(
        "export", "print the registry as a registry editor exports it "
                  "(\"Windows Registry Editor Version 5.00\", keys below HKEY_CURRENT_USER)");
    export_->add_flag("--utf16", utf16_,
                      "write UTF-16LE with a byte order mark and CR LF, as the editor writes its "
                      "files (default UTF-8 with line feeds)");
    import_ = app.add_subcommand("import", "merge a registry editor's export, or a file of this "
                                           "registry's own format, into the registry");
    import_->add_option("FILE", importFile_, "the file to merge (UTF-8 or UTF-16LE)")->required();
}

int RegTool::run() {
    if (app_.got_subcommand(query_)) return query();
    if (app_.got_subcommand(add_)) return add();
    if (app_.got_subcommand(delete_)) return remove();
    if (app_.got_subcommand(list_)) return list();
    if (app_.got_subcommand(export_)) return exportRegistry();
    if (app_.got_subcommand(import_)) return import();
    throw app::UsageError("a command is needed: query, add, delete, list, export or import");
}

// Standard error names the file in use, so that standard output stays the registry's alone.
FileRegistry RegTool::announcedRegistry(bool creates) const {
    FileRegistry reg(file_.empty() ? FileRegistry::defaultPath() : std::filesystem::path(file_));
    std::cerr << "velmora-reg: registry file " << reg.path().string();
    std::error_code ec;
    if (!std::filesystem::exists(reg.path(), ec) && !ec)
        std::cerr << (creates ? " does not exist yet: this command creates it"
                              : " does not exist: it reads as an empty registry");
    std::cerr << "\n";
    return reg;
}

// A Linux user may type "/" for "\": the key is still used as typed, with a word of warning.
const std::string& RegTool::keyArgument() const {
    if (key_.find('/') != std::string::npos)
        log::warn(key_, "registry key paths separate keys with \\, so this names a key with / "
                        "in its name");
    return key_;
}

int RegTool::query() {
    const FileRegistry reg = announcedRegistry(false);
    const std::string& key = keyArgument();
    const RegistryDocument doc = reg.load();
    if (!doc.hasKey(key)) throw std::runtime_error("no key " + key + " in " + reg.path().string());
    // A key that only holds other keys has no section, and no values.
    const std::vector<NamedValue> none;
    const RegistryKey* found = doc.findKey(key);
    const auto& values = found ? found->values : none;
    if (query_->count("NAME") == 0) {
        for (const auto& v : values)
            printValue(v, "");
        return app::exitSuccess;
    }
    for (const auto& v : values)
        if (RegistryDocument::sameName(v.name, name_)) {
            printValue(v, "");
            return app::exitSuccess;
        }
    throw std::runtime_error("no value \"" + name_ + "\" under " + key + " in " +
                             reg.path().string());
}

int RegTool::add() {
    if (add_->count("--sz") + add_->count("--dword") == 0)
        throw app::UsageError("add needs the value: --sz TEXT or --dword N");
    const RegValue value = add_->count("--dword") ? parseDword(dword_) : textValue(sz_);
    FileRegistry reg = announcedRegistry(true);
    const std::string& key = keyArgument();
    reg.createKey(key);
    reg.setValue(key, name_, value);
    return app::exitSuccess;
}

int RegTool::remove() {
    FileRegistry reg = announcedRegistry(false);
    const std::string& key = keyArgument();
    if (delete_->count("NAME"))
        reg.deleteValue(key, name_);
    else
        reg.deleteKey(key);
    return app::exitSuccess;
}

int RegTool::list() {
    const RegistryDocument doc = announcedRegistry(false).load();
    for (const auto& key : doc.keys()) {
        std::cout << "[" << key.path << "]\n";
        for (const auto& v : key.values)
            printValue(v, "  ");
    }
    return app::exitSuccess;
}

int RegTool::exportRegistry() {
    const std::string text = exportText(announcedRegistry(false).load());
    std::cout << (utf16_ ? utf16File(text) : text) << std::flush;
    return app::exitSuccess;
}

// The whole file is checked before anything is merged: a bad line imports nothing.
int RegTool::import() {
    const std::string text = readFile(importFile_);
    const auto skipped = parseRegistryText(text).skipped;
    if (!skipped.empty())
        throw std::runtime_error(importFile_ + ": " + describeSkipped(skipped) +
                                 "; nothing is imported");
    FileRegistry reg = announcedRegistry(true);
    reg.update([&](RegistryDocument& doc) {
        readRegistryText(text, doc);
        return true;
    });
    return app::exitSuccess;
}

} // namespace

int main(int argc, char** argv) {
    app::ToolCommandLine cli(
        "velmora-reg",
        "Looks at and changes the per-user registry file that the add-in and Tidewell share.\n"
        "The registry file in use is named on standard error; standard output carries only what "
        "query, list and export print.",
        {{"VELMORA_REGISTRY", "the registry file when --file is not given (default "
                              "$XDG_CONFIG_HOME/velmora/registry)"}});
    RegTool tool(cli.app());
    return cli.run(argc, argv, [&] { return tool.run(); });
}
