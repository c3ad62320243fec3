// Fuzz target for the mail-file reader: reads each input whole and as headers only, then checks
// that every text read is UTF-8 and that what was read can be written and read again.
#include "FuzzChecks.h"
#include "platform/mailbox/MailFile.h"

#include <cstdint>
#include <string>
#include <string_view>

using namespace velmora::mailbox;
using velmora::fuzz::expectUtf8;

namespace {

void check(const MailMessage& mail) {
    expectUtf8(mail.subject, "subject");
    expectUtf8(mail.senderName, "sender name");
    expectUtf8(mail.senderAddress, "sender address");
    expectUtf8(mail.messageId, "Message-ID");
    expectUtf8(mail.body, "body");
    expectUtf8(mail.htmlBody, "HTML body");
    for (const MailRecipient& recipient : mail.recipients) {
        expectUtf8(recipient.name, "recipient name");
        expectUtf8(recipient.address, "recipient address");
    }
    for (const MailAttachment& attachment : mail.attachments)
        expectUtf8(attachment.displayName, "attachment name");
}

} // namespace

// A MailFileError says the input holds no message; any other exception is a finding.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    for (ReadMode mode : {ReadMode::Full, ReadMode::Headers}) {
        try {
            const MailRead read = MailFile::parse(bytes, mode);
            check(read.mail);
            check(MailFile::parse(MailFile::format(read.mail)).mail);
        } catch (const MailFileError&) {
        }
    }
    return 0;
}
