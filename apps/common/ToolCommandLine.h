// The command line every Velmora program shares: --help on standard output with the environment
// the program reads, --version, the log opened, and one set of exit codes for all of them.
#pragma once

#include "UsageError.h"

#include <CLI/CLI.hpp>

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::app {

// The same in every program: 0 done, 1 failed, 2 not understood.
constexpr int exitSuccess = 0;
constexpr int exitFailure = 1;
constexpr int exitUsage = 2;

struct EnvironmentVariable {
    std::string name;
    std::string meaning;
};

// The project's version, as the build names it.
std::string_view version();

class ToolCommandLine {
  public:
    // environment: the variables this program reads; the ones every program reads (the log's)
    // are added after them in the help.
    ToolCommandLine(std::string program, const std::string& description,
                    const std::vector<EnvironmentVariable>& environment);

    CLI::App& app() { return app_; }
    const std::string& program() const { return program_; }

    // Parses the arguments, opens the log and runs body, answering the exit code: 0 after --help
    // or --version (printed on standard output); 2 with a message naming the wrong argument on
    // standard error; 1 with "program: description" when body throws.
    int run(int argc, char** argv, const std::function<int()>& body);

  private:
    std::string program_;
    CLI::App app_;
};

} // namespace velmora::app
