// Detached program start by a double fork: the middle process exits at once and is reaped
// here, so the host needs no SIGCHLD handling; a close-on-exec pipe brings back exec failures.
#include "platform/windows/DesktopWindowSystem.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <stdexcept>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace velmora::windows {

namespace {

// 0 when path names an executable regular file, else the errno exec would give.
int executableError(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return errno;
    if (!S_ISREG(st.st_mode)) return EACCES;
    return ::access(path.c_str(), X_OK) == 0 ? 0 : errno;
}

// Resolves a bare name on PATH as a shell would; the error is the first one worth telling.
std::string resolve(const std::string& program, int& err) {
    err = ENOENT;
    if (program.empty()) return program;
    if (program.find('/') != std::string::npos) {
        err = executableError(program);
        return program;
    }
    const char* pathEnv = std::getenv("PATH");
    const std::string path = pathEnv ? pathEnv : "/usr/local/bin:/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find(':', start);
        if (end == std::string::npos) end = path.size();
        const std::string dir = end > start ? path.substr(start, end - start) : ".";
        const std::string candidate = dir + "/" + program;
        const int e = executableError(candidate);
        if (e == 0) {
            err = 0;
            return candidate;
        }
        if (e != ENOENT && e != ENOTDIR) err = e;
        start = end + 1;
    }
    return program;
}

void writeAll(int fd, const void* data, std::size_t size) {
    // Best effort from a child about to exit: nothing else can be done on failure.
    while (::write(fd, data, size) < 0 && errno == EINTR) {
    }
}

} // namespace

void DesktopWindowSystem::StartProcess(const std::string& program,
                                       const std::vector<std::string>& args) {
    auto refuse = [&](int err) {
        return std::runtime_error("Cannot start " + program + ": " + std::strerror(err));
    };
    int err = 0;
    const std::string path = resolve(program, err);
    if (err != 0) throw refuse(err);

    // Everything the children need is built before fork: after it only async-signal-safe calls.
    std::vector<std::string> storage;
    storage.push_back(program);
    storage.insert(storage.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (auto& s : storage)
        argv.push_back(s.data());
    argv.push_back(nullptr);

    int report[2];
    if (::pipe2(report, O_CLOEXEC) != 0) throw refuse(errno);
    const pid_t middle = ::fork();
    if (middle < 0) {
        const int e = errno;
        ::close(report[0]);
        ::close(report[1]);
        throw refuse(e);
    }
    if (middle == 0) {
        ::close(report[0]);
        const pid_t child = ::fork();
        if (child < 0) {
            const int e = errno;
            writeAll(report[1], &e, sizeof e);
            ::_exit(1);
        }
        if (child > 0) ::_exit(0);
        ::setsid();
        sigset_t none;
        ::sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        for (int sig : {SIGHUP, SIGINT, SIGQUIT, SIGPIPE, SIGTERM, SIGCHLD})
            ::signal(sig, SIG_DFL);
        // The started program must not take the host's console input.
        const int devnull = ::open("/dev/null", O_RDONLY);
        if (devnull >= 0) {
            ::dup2(devnull, STDIN_FILENO);
            if (devnull != STDIN_FILENO) ::close(devnull);
        }
        ::execve(path.c_str(), argv.data(), environ);
        const int e = errno;
        writeAll(report[1], &e, sizeof e);
        ::_exit(127);
    }
    ::close(report[1]);
    int status = 0;
    while (::waitpid(middle, &status, 0) < 0 && errno == EINTR) {
    }
    int childErr = 0;
    ssize_t n;
    while ((n = ::read(report[0], &childErr, sizeof childErr)) < 0 && errno == EINTR) {
    }
    ::close(report[0]);
    if (n == static_cast<ssize_t>(sizeof childErr)) throw refuse(childErr);
}

} // namespace velmora::windows
