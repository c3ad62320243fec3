// The messaging session that reads the sender address of a stored mail by its entry ID, and the
// session over the in-memory host, which serves it from the mails the host holds.
#pragma once

#include <string>

namespace velmora::host {
class Application;
} // namespace velmora::host

namespace velmora::cdo {

class MapiSession {
  public:
    virtual ~MapiSession() = default;
    virtual void Logon() = 0;
    // The "address" of the message's Sender; raises std::runtime_error when there is no message.
    virtual std::string SenderAddress(const std::string& entryId) = 0;
    virtual void Logoff() = 0;
};

// Finds a stored mail by its entry ID and answers the sender address the host keeps for it.
class HostMapiSession : public MapiSession {
  public:
    explicit HostMapiSession(host::Application& app) : app_(app) {}
    void Logon() override { loggedOn_ = true; }
    std::string SenderAddress(const std::string& entryId) override;
    void Logoff() override { loggedOn_ = false; }
    bool loggedOn() const { return loggedOn_; }

  private:
    host::Application& app_;
    bool loggedOn_ = false;
};

} // namespace velmora::cdo
