// The failure the file registry raises: a description and the registry result code it maps to.
// Reads turn it into "missing"; writes turn it into their status; the tools print it.
#pragma once

#include "platform/registry/Registry.h"

#include <stdexcept>
#include <string>

namespace velmora::registry {

// Result codes beyond the contract's three, as the registry answers them.
constexpr long ERROR_WRITE_FAULT = 29;
constexpr long ERROR_INVALID_PARAMETER = 87;
constexpr long ERROR_BADDB = 1009;

class RegistryError : public std::runtime_error {
  public:
    RegistryError(const std::string& description, long status)
        : std::runtime_error(description), status_(status) {}
    long status() const { return status_; }

  private:
    long status_;
};

} // namespace velmora::registry
