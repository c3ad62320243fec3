// The shared command line over CLI11. Errors name the argument CLI11 stumbled on and point to
// --help; every failure also goes to the log, so a run from a desktop launcher leaves a trace.
#include "ToolCommandLine.h"

#include "platform/log/Log.h"

#include <iostream>

namespace velmora::app {

namespace {

const std::vector<EnvironmentVariable> commonEnvironment = {
    {"VELMORA_LOG", "log level: trace, debug, info (default), warn, error or off"},
    {"VELMORA_LOG_FILE", "the log file (default $XDG_STATE_HOME/velmora/velmora.log)"},
    {"HOME", "the home folder the default folders below are in"},
    {"XDG_CONFIG_HOME, XDG_DATA_HOME, XDG_STATE_HOME",
     "base folders for settings, data and the log (default ~/.config, ~/.local/share, "
     "~/.local/state)"},
};

std::string environmentFooter(const std::vector<EnvironmentVariable>& own) {
    std::string text = "Environment:\n";
    const auto add = [&](const EnvironmentVariable& v) {
        text += "  " + v.name + "\n      " + v.meaning + "\n";
    };
    for (const auto& v : own)
        add(v);
    for (const auto& v : commonEnvironment)
        add(v);
    return text;
}

} // namespace

std::string_view version() {
    return VELMORA_VERSION;
}

ToolCommandLine::ToolCommandLine(std::string program, const std::string& description,
                                 const std::vector<EnvironmentVariable>& environment)
    : program_(std::move(program)), app_(description, program_) {
    app_.set_version_flag("--version", program_ + " " + std::string(version()));
    app_.footer(environmentFooter(environment));
    app_.get_formatter()->column_width(28);
    // Options of the program may follow its command, as users type them.
    app_.fallthrough();
    app_.failure_message([this](const CLI::App*, const CLI::Error& e) {
        return program_ + ": " + e.what() + "\nRun with --help for more information.\n";
    });
}

int ToolCommandLine::run(int argc, char** argv, const std::function<int()>& body) {
    try {
        app_.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        // Help and version are answers, not failures: standard output and exit 0.
        const int code = app_.exit(e, std::cout, std::cerr);
        return code == 0 ? exitSuccess : exitUsage;
    }
    log::open(program_, true);
    int code = exitFailure;
    try {
        code = body();
    } catch (const UsageError& e) {
        std::cerr << program_ << ": " << e.what() << "\nRun with --help for more information.\n";
        code = exitUsage;
    } catch (const std::exception& e) {
        std::cerr << program_ << ": " << e.what() << "\n";
        log::error("failed", e.what());
        code = exitFailure;
    }
    log::close();
    return code;
}

} // namespace velmora::app
