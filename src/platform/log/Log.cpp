// The log over spdlog: one rotating file shared by every program of the add-in (each line names
// its program), and standard error for a tool's warnings. One log per process, by nature.
#include "platform/log/Log.h"

#include "platform/files/BaseDirectories.h"

#include <spdlog/sinks/rotating_file_sink.h>
#include <spdlog/spdlog.h>

#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>
#include <utility>

namespace velmora::log {

namespace {

constexpr std::size_t maxFileBytes = std::size_t{5} * 1024 * 1024;
constexpr std::size_t keptFiles = 3;

struct Current {
    std::shared_ptr<spdlog::logger> file; // empty when the log is closed or cannot be written
    std::string program;
    bool echo = false;
};

// The process's log; every writer is a no-op until open().
Current& current() {
    static Current log;
    return log;
}

spdlog::level::level_enum levelFromEnvironment(std::string& problem) {
    const char* text = std::getenv("VELMORA_LOG");
    if (!text || !*text) return spdlog::level::info;
    const std::string name = text;
    static const std::pair<const char*, spdlog::level::level_enum> levels[] = {
        {"trace", spdlog::level::trace}, {"debug", spdlog::level::debug},
        {"info", spdlog::level::info},   {"warn", spdlog::level::warn},
        {"error", spdlog::level::err},   {"off", spdlog::level::off}};
    for (const auto& [known, level] : levels)
        if (name == known) return level;
    problem = "VELMORA_LOG=" + name + " is no level (trace, debug, info, warn, error, off); " +
              "using info";
    return spdlog::level::info;
}

void write(spdlog::level::level_enum level, std::string_view context, std::string_view message) {
    const auto& logger = current().file;
    if (!logger || !logger->should_log(level)) return;
    logger->log(level, "{}: {}", context, message);
}

} // namespace

std::filesystem::path defaultPath() {
    if (const char* file = std::getenv("VELMORA_LOG_FILE"); file && *file) return file;
    return files::stateHome() / "velmora" / "velmora.log";
}

void open(std::string_view program, bool echoToStderr) {
    close();
    auto& log = current();
    log.program = program;
    log.echo = echoToStderr;
    std::string problem;
    const auto level = levelFromEnvironment(problem);
    const auto file = defaultPath();
    if (level != spdlog::level::off) {
        try {
            if (file.has_parent_path()) std::filesystem::create_directories(file.parent_path());
            auto rotating = std::make_shared<spdlog::sinks::rotating_file_sink_mt>(
                file.string(), maxFileBytes, keptFiles);
            log.file = std::make_shared<spdlog::logger>(log.program, std::move(rotating));
            log.file->set_pattern("%Y-%m-%d %H:%M:%S.%e %n[%P] %l: %v");
            log.file->set_level(level);
            // A warning or error is flushed at once: the program may be about to end.
            log.file->flush_on(spdlog::level::warn);
        } catch (const std::exception& e) {
            std::cerr << program << ": cannot write the log " << file.string() << ": " << e.what()
                      << "\n";
        }
    }
    if (!problem.empty()) warn("VELMORA_LOG", problem);
}

void close() {
    auto& log = current();
    if (log.file) log.file->flush();
    log = Current{};
}

void error(std::string_view context, std::string_view message) {
    write(spdlog::level::err, context, message);
}

void warn(std::string_view context, std::string_view message) {
    write(spdlog::level::warn, context, message);
    // A tool's user sees its warnings at once; errors the program reports itself.
    if (current().echo)
        std::cerr << current().program << ": warning: " << context << ": " << message << "\n";
}

void info(std::string_view context, std::string_view message) {
    write(spdlog::level::info, context, message);
}

void debug(std::string_view context, std::string_view message) {
    write(spdlog::level::debug, context, message);
}

} // namespace velmora::log
