// Tidewell, the companion stand-in: shows the synchronisation window the add-in looks for, in
// the language of the shared registry, until it is told to close. It carries no rows.
#include "platform/registry/FileRegistry.h"
#include "platform/text/AsciiText.h"
#include "platform/text/Bilingual.h"
#include "platform/windows/TopLevelWindow.h"
#include "ToolCommandLine.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <iostream>
#include <optional>
#include <poll.h>
#include <stdexcept>
#include <string>
#include <sys/signalfd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace velmora;

namespace {

const std::string mainKey = "Software\\OutLook Sync Velmora";

struct Options {
    bool about = false;
    std::optional<long> seconds;
    std::optional<std::int32_t> history;
};

// As the add-in decides: Chinese for "CN" and for a missing value, English otherwise.
std::string caption(registry::Registry& reg) {
    const auto language = reg.QueryValue(mainKey, "Language");
    bool chinese = !language;
    if (const auto text = language ? registry::asText(*language) : std::nullopt)
        chinese = *text == "CN";
    constexpr text::Bilingual title{.english = "Synchronize Outlook - Velmora",
                                    .chinese = "Velmora－Outlook信息同步"};
    return title.in(chinese);
}

void writeHistory(registry::FileRegistry& reg, std::int32_t value) {
    const std::string key = mainKey + "\\setting";
    reg.createKey(key);
    reg.setValue(key, "HistoryValue", registry::dwordValue(static_cast<std::uint32_t>(value)));
}

// Standard input is watched for "close" only when someone can type or pipe into it.
bool stdinIsInteractive() {
    struct stat st {};
    return ::isatty(STDIN_FILENO) ||
           (::fstat(STDIN_FILENO, &st) == 0 && (S_ISFIFO(st.st_mode) || S_ISSOCK(st.st_mode)));
}

std::string trimmed(const std::string& s) {
    return std::string(text::trim(s, " \t\r"));
}

// Waits for SIGTERM or SIGINT, a "close" line, or the deadline; answers what ended the wait.
std::string waitForClose(const Options& o) {
    sigset_t signals;
    ::sigemptyset(&signals);
    ::sigaddset(&signals, SIGTERM);
    ::sigaddset(&signals, SIGINT);
    if (::sigprocmask(SIG_BLOCK, &signals, nullptr) != 0)
        throw std::runtime_error(std::string("cannot block signals: ") + std::strerror(errno));
    const int sfd = ::signalfd(-1, &signals, SFD_CLOEXEC);
    if (sfd < 0)
        throw std::runtime_error(std::string("cannot watch signals: ") + std::strerror(errno));

    bool watchStdin = stdinIsInteractive();
    std::string pending;
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::seconds(o.seconds.value_or(0));
    for (;;) {
        int timeout = -1;
        if (o.seconds) {
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return "time is up";
            timeout = static_cast<int>(std::min<long long>(left.count(), 1000000));
        }
        pollfd fds[2] = {{sfd, POLLIN, 0}, {STDIN_FILENO, POLLIN, 0}};
        const int n = ::poll(fds, watchStdin ? 2 : 1, timeout);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) throw std::runtime_error(std::string("cannot wait: ") + std::strerror(errno));
        if (fds[0].revents & POLLIN) {
            signalfd_siginfo info{};
            if (::read(sfd, &info, sizeof info) == static_cast<ssize_t>(sizeof info))
                return info.ssi_signo == SIGINT ? "SIGINT" : "SIGTERM";
        }
        if (watchStdin && fds[1].revents) {
            char buf[512];
            const ssize_t got = ::read(STDIN_FILENO, buf, sizeof buf);
            if (got <= 0) {
                // Input has ended: only a signal or the deadline closes the window now.
                watchStdin = false;
                continue;
            }
            pending.append(buf, static_cast<std::size_t>(got));
            for (std::size_t eol; (eol = pending.find('\n')) != std::string::npos;) {
                const std::string line = trimmed(pending.substr(0, eol));
                pending.erase(0, eol + 1);
                if (line == "close") return "asked to close";
                if (!line.empty())
                    std::cout << "Tidewell: type \"close\" to close the window\n" << std::flush;
            }
        }
    }
}

// The window's life: the registry's language and "HistoryValue", the window, the wait.
int showWindow(const Options& options) {
    registry::FileRegistry reg(registry::FileRegistry::defaultPath());
    std::cout << "Tidewell: registry " << reg.path().string() << "\n";
    if (options.history) {
        writeHistory(reg, *options.history);
        std::cout << "Tidewell: HistoryValue set to " << *options.history << "\n";
    }
    const std::string title = caption(reg);
    windows::TopLevelWindow window(title);
    std::cout << "Tidewell: " << (options.about ? "about window" : "synchronisation window")
              << " \"" << title << "\" open (pid " << ::getpid() << ", "
              << window.entry().parent_path().string() << ")\n";
    if (options.about)
        std::cout << "Tidewell: companion of the Velmora Outlook Client\n";
    else
        std::cout << "Tidewell: this stand-in has no server and carries no rows\n";
    std::cout << std::flush;
    const std::string reason = waitForClose(options);
    std::cout << "Tidewell: window closed (" << reason << ")\n";
    return app::exitSuccess;
}

} // namespace

int main(int argc, char** argv) {
    app::ToolCommandLine cli(
        "Tidewell",
        "The companion program's stand-in: shows the synchronisation window the add-in looks "
        "for, titled in the registry's language, until SIGTERM or SIGINT, a line \"close\" on "
        "standard input, or --seconds.",
        {{"VELMORA_REGISTRY", "the registry file, for \"Language\" and \"HistoryValue\" "
                              "(default $XDG_CONFIG_HOME/velmora/registry)"},
         {"VELMORA_WINDOWS_DIR", "the folder where the window is announced (default "
                                 "$XDG_RUNTIME_DIR/velmora-windows, else "
                                 "/tmp/velmora-windows-UID)"},
         {"XDG_RUNTIME_DIR", "the user's runtime folder, which holds the window folder"}});
    CLI::App& app = cli.app();
    Options options;
    long seconds = 0;
    long long history = 0;
    auto* secondsOption = app.add_option("--seconds", seconds, "close the window after N seconds")
                              ->type_name("N")
                              ->check(CLI::Range(0L, 86400L * 365));
    auto* historyOption =
        app.add_option("--history", history,
                       "first set \"HistoryValue\" (REG_DWORD) to N under "
                       "Software\\OutLook Sync Velmora\\setting, making that key when missing")
            ->type_name("N")
            ->check(CLI::Range(-2147483648LL, 2147483647LL));
    auto* about = app.add_subcommand("about", "show the about window instead");
    return cli.run(argc, argv, [&] {
        options.about = about->parsed();
        if (secondsOption->count()) options.seconds = seconds;
        if (historyOption->count()) options.history = static_cast<std::int32_t>(history);
        return showWindow(options);
    });
}
