// Tidewell, the companion stand-in: shows the synchronisation window the add-in looks for, in
// the language of the shared registry, until it is told to close. It carries no rows.
#include "platform/registry/FileRegistry.h"
#include "platform/text/AsciiText.h"
#include "platform/text/Bilingual.h"
#include "platform/windows/TopLevelWindow.h"

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

const char* usage = "usage: Tidewell [about] [--seconds N] [--history N]\n";
const std::string mainKey = "Software\\OutLook Sync Velmora";

struct Options {
    bool about = false;
    std::optional<long> seconds;
    std::optional<std::int32_t> history;
};

long number(const std::string& option, const std::string& text, long low, long high) {
    std::size_t used = 0;
    long n = 0;
    try {
        n = std::stol(text, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (text.empty() || used != text.size() || n < low || n > high)
        throw std::invalid_argument(option + " needs a number from " + std::to_string(low) +
                                    " to " + std::to_string(high) + ", not \"" + text + "\"");
    return n;
}

Options parse(const std::vector<std::string>& args) {
    Options o;
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "about" && i == 0) {
            o.about = true;
        } else if ((args[i] == "--seconds" || args[i] == "--history") && i + 1 < args.size()) {
            if (args[i] == "--seconds")
                o.seconds = number(args[i], args[i + 1], 0, 86400L * 365);
            else
                o.history = static_cast<std::int32_t>(
                    number(args[i], args[i + 1], -2147483647L - 1, 2147483647L));
            ++i;
        } else {
            throw std::invalid_argument("unexpected argument \"" + args[i] + "\"");
        }
    }
    return o;
}

// As the add-in decides: Chinese for "CN" and for a missing value, English otherwise.
std::string caption(registry::Registry& reg) {
    const auto language = reg.QueryValue(mainKey, "Language");
    bool chinese = !language;
    if (language && language->type == registry::REG_SZ) {
        std::string text(language->data.begin(), language->data.end());
        if (!text.empty() && text.back() == '\0') text.pop_back();
        chinese = text == "CN";
    }
    constexpr text::Bilingual title{.english = "Synchronize Outlook - Velmora",
                                    .chinese = "Velmora－Outlook信息同步"};
    return title.in(chinese);
}

void writeHistory(registry::FileRegistry& reg, std::int32_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    const registry::RegValue v{registry::REG_DWORD,
                               {std::uint8_t(bits), std::uint8_t(bits >> 8),
                                std::uint8_t(bits >> 16), std::uint8_t(bits >> 24)}};
    const std::string key = mainKey + "\\setting";
    if (reg.CreateKey(key) != registry::ERROR_SUCCESS || reg.SetValue(key, "HistoryValue", v) != 0)
        throw std::runtime_error("cannot write HistoryValue: " + reg.lastError());
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

} // namespace

int main(int argc, char** argv) {
    try {
        Options options;
        try {
            options = parse(std::vector<std::string>(argv + 1, argv + argc));
        } catch (const std::invalid_argument& e) {
            std::cerr << "Tidewell: " << e.what() << "\n" << usage;
            return 1;
        }
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
        return 0;
    } catch (const std::exception& e) {
        std::cerr << "Tidewell: " << e.what() << "\n";
        return 1;
    }
}
