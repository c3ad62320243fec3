// The messaging session that reads the sender address of a stored mail by its entry ID.
// The in-memory host serves it from the mails it holds.
#pragma once

#include <string>

namespace velmora::cdo {

class MapiSession {
  public:
    virtual ~MapiSession() = default;
    virtual void Logon() = 0;
    // The "address" of the message's Sender; raises std::runtime_error when there is no message.
    virtual std::string SenderAddress(const std::string& entryId) = 0;
    virtual void Logoff() = 0;
};

} // namespace velmora::cdo
