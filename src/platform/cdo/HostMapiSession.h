// The messaging session over the in-memory host: it finds a stored mail by its entry ID and
// answers the sender address the host keeps for it.
#pragma once

#include "platform/cdo/MapiSession.h"
#include "platform/host/ObjectModel.h"

namespace velmora::cdo {

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
