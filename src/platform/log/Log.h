// The program's log: what went wrong, with its context, for the user or a supporter to read
// later. Nothing is written until a program opens it; libraries and tests just call the writers.
#pragma once

#include <filesystem>
#include <string_view>

namespace velmora::log {

// $VELMORA_LOG_FILE when set, else $XDG_STATE_HOME/velmora/velmora.log (~/.local/state).
std::filesystem::path defaultPath();

// Opens the rotating log file for this process, at the level $VELMORA_LOG names (trace, debug,
// info, warn, error or off; info when unset). Warnings also go to standard error when
// echoToStderr is set, as a command-line tool's user expects; errors the program reports itself. A
// log that cannot be written is reported once on standard error and the program goes on without it.
void open(std::string_view program, bool echoToStderr);
// Flushes and closes the log; the writers are quiet again afterwards.
void close();

// One line each: the context (an operation, a tag, a file and line) and what happened.
void error(std::string_view context, std::string_view message);
void warn(std::string_view context, std::string_view message);
void info(std::string_view context, std::string_view message);
void debug(std::string_view context, std::string_view message);

} // namespace velmora::log
