// Turns a message's bytes into a MailMessage with GMime, listing what was wrong on the way.
// Internal to the mailbox layer; MailFile::parse is its public face.
#pragma once

#include "platform/mailbox/MailFile.h"

#include <string_view>

namespace velmora::mailbox {

// Raises MailFileError (without a file name) only when the bytes hold no message.
MailRead readMessage(std::string_view bytes, ReadMode mode);

} // namespace velmora::mailbox
