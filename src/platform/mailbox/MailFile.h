// Reads and writes one RFC 5322/MIME message file (a Maildir entry) as a MailMessage.
//
// Contract: every function may run on any thread at the same time as any other; they share no
// state. A read that cannot get at the message at all (the file is missing, vanished, is a
// folder, cannot be read, or holds no message) raises MailFileError naming the file. Anything
// less is recoverable: the read keeps what it could read and lists what was wrong in problems
// (an unknown charset, a truncated or malformed message, an unreadable date); describeProblems
// makes of them the one message to show or log. Writing never leaves a partial file behind.
#pragma once

#include "platform/mailbox/MailMessage.h"

#include <cstddef>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace velmora::mailbox {

class MailFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Headers: only the header block is read from the file, bodies and attachments stay empty; what
// a host keeps of a mail it has not been asked for.
enum class ReadMode { Full, Headers };

struct MailRead {
    MailMessage mail;
    // The size of the whole message in bytes, in either mode.
    std::size_t size = 0;
    // What was wrong with the message, each in a few words; empty when nothing was.
    std::vector<std::string> problems;
};

class MailFile {
  public:
    MailFile() = delete;

    static MailRead read(const std::filesystem::path& file, ReadMode mode = ReadMode::Full);
    // The same from the message's bytes; raises MailFileError only when they hold no message.
    static MailRead parse(std::string_view bytes, ReadMode mode = ReadMode::Full);

    // The message as a file's bytes: UTF-8 headers as encoded words, bodies and attachments
    // in MIME parts. No Message-ID or Date is made up when the mail has none.
    static std::string format(const MailMessage& mail);
    // Writes format(mail) to a new file (it must not exist yet, as in a Maildir's tmp/) and
    // syncs it; on failure the file is removed and MailFileError says why.
    static void write(const MailMessage& mail, const std::filesystem::path& file);
};

// "Mail file 'F': the message is truncated; unknown charset "x-foo" in the body", or "" when
// there are no problems.
std::string describeProblems(const std::filesystem::path& file,
                             const std::vector<std::string>& problems);

} // namespace velmora::mailbox
