// The errors the control stand-ins raise: a refused property value or call, and a refused key.
// A duplicate key has its own type so that callers can tolerate it and let every other failure
// through.
#pragma once

#include <stdexcept>
#include <string>

namespace velmora::controls {

class ControlError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Raised when a list row would take a key that another row of the same list already holds.
class DuplicateKeyError : public ControlError {
  public:
    DuplicateKeyError() : ControlError("Key is not unique in collection") {}
};

} // namespace velmora::controls
