// Injected failures of the in-memory host: a member named "<Class>.<Member>" (names compare
// without regard to case) raises HostError with a chosen description, for n calls or until cleared.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace velmora::host {

class Faults {
  public:
    // times: -1 fails every call until cleared; n > 0 fails the next n calls.
    void fail(const std::string& member, const std::string& description, int times = -1);
    void clear() {
        faults_.clear();
        hits_.clear();
    }
    bool empty() const { return faults_.empty(); }
    // Raises HostError when the member is set to fail, and counts the call against its limit.
    void check(std::string_view member);
    // How often the member raised its fault since the last clear.
    int hits(std::string_view member) const;

  private:
    struct Fault {
        std::string description;
        int remaining;
    };
    std::map<std::string, Fault, std::less<>> faults_; // keyed by the lower-cased member name
    std::map<std::string, int, std::less<>> hits_;
};

} // namespace velmora::host
