// The terminal reader over GNU readline. The history file is appended to, not rewritten, so that
// two sessions open at once both keep their lines; it is cut to its last keptLines afterwards.
#include "TerminalLineReader.h"

#include "platform/log/Log.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <system_error>
#include <utility>

// readline.h uses FILE without including stdio.h.
#include <readline/history.h>
#include <readline/readline.h>

namespace velmora::app {

namespace {

constexpr int keptLines = 1000;

bool blank(const std::string& line) {
    return line.find_first_not_of(" \t") == std::string::npos;
}

// The line typed last, or empty when the history is.
std::string lastEntry() {
    const HIST_ENTRY* last = history_get(history_base + history_length - 1);
    return last && last->line ? last->line : "";
}

} // namespace

TerminalLineReader::TerminalLineReader(std::filesystem::path history)
    : history_(std::move(history)) {
    // Lets a user's ~/.inputrc say "$if velmora".
    rl_readline_name = "velmora";
    using_history();
    // A first session has no history file yet: nothing to read is no error.
    read_history(history_.c_str());
}

TerminalLineReader::~TerminalLineReader() {
    saveHistory();
}

std::optional<std::string> TerminalLineReader::next(const std::string& prompt) {
    const std::unique_ptr<char, decltype(&std::free)> typed(readline(prompt.c_str()), &std::free);
    if (!typed) {
        // Ctrl-D leaves the cursor after the prompt; the shell's own prompt starts a line.
        std::fputc('\n', rl_outstream ? rl_outstream : stdout);
        return std::nullopt;
    }
    std::string line = typed.get();
    if (!blank(line) && line != lastEntry()) {
        add_history(line.c_str());
        ++added_;
    }
    return line;
}

void TerminalLineReader::saveHistory() const {
    if (added_ == 0) return;
    std::error_code ignored;
    std::filesystem::create_directories(history_.parent_path(), ignored);
    // append_history does not make the file; write_history does, readable by the user only.
    const int err = std::filesystem::exists(history_, ignored)
                        ? append_history(added_, history_.c_str())
                        : write_history(history_.c_str());
    if (err != 0) {
        log::warn("history", "cannot write " + history_.string() + ": " + std::strerror(err));
        return;
    }
    history_truncate_file(history_.c_str(), keptLines);
}

} // namespace velmora::app
