// Injected failures of the in-memory host.
// The empty check is the common path and costs one comparison, so every member can afford it.
#include "platform/host/Faults.h"

#include "platform/host/ObjectModel.h"
#include "platform/text/AsciiText.h"

namespace velmora::host {

void Faults::fail(const std::string& member, const std::string& description, int times) {
    if (member.empty()) throw HostError("A fault needs a member name such as \"Items.Find\"");
    if (times == 0 || times < -1)
        throw HostError("A fault fails -1 (always) or a positive number of times, not " +
                        std::to_string(times));
    faults_[text::lower(member)] = Fault{description, times};
}

void Faults::check(std::string_view member) {
    if (faults_.empty()) return;
    const auto it = faults_.find(text::lower(member));
    if (it == faults_.end()) return;
    const std::string description = it->second.description;
    ++hits_[it->first];
    if (it->second.remaining > 0 && --it->second.remaining == 0) faults_.erase(it);
    throw HostError(description);
}

int Faults::hits(std::string_view member) const {
    const auto it = hits_.find(text::lower(member));
    return it == hits_.end() ? 0 : it->second;
}

} // namespace velmora::host
