// The host's sessions: where the demo works, how a script file is opened, and when standard
// input is a terminal. Script output goes to standard output, failing lines to standard error.
#include "HostSessions.h"

#include "DemoScript.h"
#include "platform/files/BaseDirectories.h"
#include "platform/mailbox/SampleMailbox.h"
#include "ScriptRunner.h"
#include "TerminalLineReader.h"

#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <stdexcept>

namespace velmora::app {

namespace {

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

// Sets a variable the demo's platform reads, unless the user named it already.
std::string defaultTo(const char* name, const std::filesystem::path& value) {
    if (environment(name).empty()) ::setenv(name, value.c_str(), 1);
    return environment(name);
}

// A store the user named is where the demo is to work; else a fresh folder only this user may
// enter, so that neither another user nor a second demo run can reach into it. It is kept
// afterwards, for the user to look at the store the demo left.
std::filesystem::path demoFolder() {
    if (const std::string store = environment("VELMORA_STORE"); !store.empty()) {
        auto folder = std::filesystem::absolute(store).parent_path();
        std::filesystem::create_directories(folder);
        return folder;
    }
    const auto base = std::filesystem::temp_directory_path();
    std::string folder = (base / "velmora-demo-XXXXXX").string();
    if (!::mkdtemp(folder.data()))
        throw std::runtime_error("cannot make the demo's folder in " + base.string() + ": " +
                                 std::strerror(errno));
    return folder;
}

// A word as splitWords reads it back: quoted, with quotes and backslashes escaped.
std::string quoted(const std::string& text) {
    std::string word = "\"";
    for (const char c : text) {
        if (c == '"' || c == '\\') word += '\\';
        word += c;
    }
    return word + "\"";
}

} // namespace

int playDemo() {
    const auto folder = demoFolder();
    // The add-in starts the companion program from its install path; it is installed beside
    // this program.
    std::error_code ignored;
    const auto here = std::filesystem::read_symlink("/proc/self/exe", ignored).parent_path();
    std::filesystem::create_symlink(here / "Tidewell", folder / "Tidewell", ignored);
    const std::string connection = environment("VELMORA_STORE_CONNECTION");
    const std::string store = defaultTo("VELMORA_STORE", folder / "linkstore.db");
    const std::string registry = defaultTo("VELMORA_REGISTRY", folder / "registry");
    std::cout << "folder: " << folder.string()
              << "\nstore: " << (connection.empty() ? store : connection)
              << "\nregistry: " << registry << "\n";
    // On a mailbox folder the demo plays over the user's own items; a new folder gets the sample.
    if (const std::string mailbox = environment("VELMORA_MAILBOX"); !mailbox.empty()) {
        std::error_code ec;
        const bool fresh =
            !std::filesystem::exists(mailbox, ec) || std::filesystem::is_empty(mailbox, ec);
        if (fresh) mailbox::writeSampleMailbox(mailbox);
        std::cout << "mailbox: " << mailbox << (fresh ? " (the sample mailbox, written now)" : "")
                  << "\n";
    }

    ScriptRunner runner(std::cout, std::cerr);
    // The installer's part, not the user's: the install path, where attachment copies land.
    const std::string installPath = "registry set path " + quoted(folder.string());
    runner.commands().execute(Words{splitWords(installPath), installPath});
    std::istringstream text(demoScript);
    StreamLineReader lines(text);
    return runner.run(lines, {"demo", true, true});
}

int runScriptFile(const std::string& path) {
    // A folder opens as a stream that reads nothing: it would pass as an empty script.
    if (std::filesystem::is_directory(path))
        throw std::runtime_error(path + " is a folder, not a script");
    std::ifstream file(path);
    if (!file) throw std::runtime_error("cannot read " + path + ": " + std::strerror(errno));
    ScriptRunner runner(std::cout, std::cerr);
    StreamLineReader lines(file);
    return runner.run(lines, {path, false, false});
}

int runStandardInput() {
    ScriptRunner runner(std::cout, std::cerr);
    if (!::isatty(STDIN_FILENO)) {
        StreamLineReader lines(std::cin);
        return runner.run(lines, {"<stdin>", false, false});
    }
    TerminalLineReader terminal(files::stateHome() / "velmora" / "host_history");
    return runner.run(terminal, {"<stdin>", true, false});
}

} // namespace velmora::app
