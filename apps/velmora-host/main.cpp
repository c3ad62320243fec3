// velmora-host: the in-memory mail host with the add-in connected to it, driven by the demo, by
// a script file, or by standard input (one command per line).
#include "HostSessions.h"
#include "ToolCommandLine.h"

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

const std::vector<velmora::app::EnvironmentVariable> environment = {
    {"VELMORA_MAILBOX", "the mailbox folder the host keeps its items in (as --mailbox)"},
    {"VELMORA_SENDMAIL", "a command that gets each mail the host sends on its standard input\n"
                         "      (default none: a sent mail only moves to Sent Items)"},
    {"VELMORA_STORE", "the SQLite link store (default $XDG_DATA_HOME/velmora/linkstore.db);\n"
                      "      when set, the demo runs on it and works in its folder"},
    {"VELMORA_STORE_CONNECTION",
     "an ODBC connection string for the link store instead of the SQLite file"},
    {"VELMORA_REGISTRY", "the registry file (default $XDG_CONFIG_HOME/velmora/registry; for the "
                         "demo,\n      the demo's folder)"},
    {"VELMORA_WINDOWS_DIR", "where windows are announced to the other programs (default\n"
                            "      $XDG_RUNTIME_DIR/velmora-windows)"},
    {"XDG_RUNTIME_DIR", "this login's own folder, where the windows' folder is by default"},
    {"VELMORA_DATA_DIR", "the folder whose faces/ holds the button pictures (default\n"
                         "      ../share/velmora beside this program, else the source tree)"},
    {"TMPDIR", "where the demo makes its folder (default /tmp)"},
    {"TZ", "the time zone local times are read in"},
    {"LC_ALL, LC_TIME, LANG", "the locale whose time format the system's time text takes"},
};

// For the user and the man page: what is said in more words than an option's line holds.
const char* details =
    "\nThe demo works in a fresh folder of this user's, $TMPDIR/velmora-demo-XXXXXX, printed\n"
    "first and kept afterwards, unless VELMORA_STORE is set. A failing script line is reported\n"
    "on standard error as FILE:LINE: error: DESCRIPTION (<stdin> for standard input) and in\n"
    "the log; what the script prints goes to standard output. The history of the lines typed\n"
    "at a terminal is kept in $XDG_STATE_HOME/velmora/host_history.\n"
    "\nExit status:\n"
    "  0  every line of the script ran and every expectation held\n"
    "  1  an expectation failed, or the script could not be read\n"
    "  2  a line could not be run as written, or a wrong command line\n"
    "  3  the run stopped at the crash point a \"crash\" line set\n";

// The one positional argument there is: "-", standard input.
std::string onlyStandardInput(std::string& value) {
    if (value == "-") return "";
    return "expected - (standard input), not \"" + value + "\"; a script file goes with --script";
}

} // namespace

int main(int argc, char** argv) {
    using namespace velmora::app;
    ToolCommandLine cli("velmora-host",
                        "The in-memory mail host with the Velmora add-in connected, driven by\n"
                        "the built-in demo (with no argument), a script file or standard input.",
                        environment);
    auto& app = cli.app();
    std::string script;
    std::string input;
    const std::string demoHelp = "play the demo, showing each user action (the default)";
    auto* demo = app.add_flag("--demo", demoHelp);
    auto* file =
        app.add_option("--script", script, "run the script FILE up to its first failing line")
            ->type_name("FILE");
    auto* standardInput =
        app.add_option("input", input,
                       "read the script from standard input: at a terminal with a prompt,\n"
                       "line editing and history, going on after a failing line")
            ->type_name("-")
            ->check(CLI::Validator(onlyStandardInput, ""));
    std::string mailbox;
    app.add_option("--mailbox", mailbox,
                   "keep the host's mail, contacts and calendars in the folder DIR (Maildir,\n"
                   "vCard and iCalendar files), made with empty folders when missing")
        ->type_name("DIR");
    demo->excludes(file)->excludes(standardInput);
    file->excludes(standardInput);
    app.footer(app.get_footer() + details);

    return cli.run(argc, argv, [&] {
        if (!mailbox.empty())
            ::setenv("VELMORA_MAILBOX", std::filesystem::absolute(mailbox).c_str(), 1);
        if (*file) return runScriptFile(script);
        if (*standardInput) return runStandardInput();
        return playDemo();
    });
}
