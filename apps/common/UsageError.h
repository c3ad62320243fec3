// What every program throws for input it cannot use as written: a command line the parser
// accepted but the program cannot act on, or a script line the host cannot run.
#pragma once

#include <stdexcept>

namespace velmora::app {

// Ends the program (or fails the script line) with exit code 2, apart from a failure's 1, so
// that a wrong call never passes for a failing program.
class UsageError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

} // namespace velmora::app
