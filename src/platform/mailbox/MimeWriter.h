// Turns a MailMessage into a message's bytes with GMime. Internal to the mailbox layer;
// MailFile::format is its public face.
#pragma once

#include "platform/mailbox/MailMessage.h"

#include <string>

namespace velmora::mailbox {

std::string formatMessage(const MailMessage& mail);

} // namespace velmora::mailbox
