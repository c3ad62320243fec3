// The three ways the scripted host is driven: the built-in demo, a script file, and standard
// input (a terminal or a pipe). Each answers the program's exit code.
#pragma once

#include <string>

namespace velmora::app {

// Plays the demo in a folder of its own (VELMORA_STORE's when set, else a fresh one of this
// user's under the temporary folder), printing each user action before its output.
int playDemo();

// Runs a script file up to its first failing line; a file that cannot be read throws.
int runScriptFile(const std::string& path);

// A terminal gets a prompt, line editing and history, and goes on after a failing line; a pipe
// is read as a script file is.
int runStandardInput();

} // namespace velmora::app
