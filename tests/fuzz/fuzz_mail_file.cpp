// Fuzz target for the mail-file reader: reads each input whole and as headers only, then checks
// that every text read is UTF-8 and that what was read can be written and read again.
#include "platform/mailbox/MailFile.h"

#include <glib.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace velmora::mailbox;

namespace {

// GLib's check stops at NUL, which UTF-8 allows: each piece between NULs is checked.
void expectUtf8(const std::string& text, const char* field) {
    bool valid = true;
    for (std::size_t start = 0; valid && start <= text.size();) {
        const std::size_t nul = std::min(text.find('\0', start), text.size());
        valid = g_utf8_validate(text.data() + start, static_cast<gssize>(nul - start), nullptr);
        start = nul + 1;
    }
    if (valid) return;
    std::fprintf(stderr, "the %s read is not UTF-8\n", field);
    std::abort();
}

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
