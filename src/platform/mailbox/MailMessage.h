// The values one mail file holds, as the host reads them: sender, recipients, subject, dates,
// bodies and attachments, all text in UTF-8. Plain values: copy, compare, and write them back.
#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace velmora::mailbox {

// The numbers are the host's own (olTo, olCC, olBCC; olImportanceLow..High).
enum class RecipientType { To = 1, Cc = 2, Bcc = 3 };
enum class Importance { Low = 0, Normal = 1, High = 2 };

struct MailRecipient {
    std::string name;
    std::string address;
    RecipientType type = RecipientType::To;
    bool operator==(const MailRecipient&) const = default;
};

struct MailAttachment {
    // The name the mail gives the file, decoded, without any folder part ("" when it has none).
    std::string displayName;
    std::string contentType = "application/octet-stream";
    // The decoded bytes.
    std::string content;

    std::size_t size() const { return content.size(); }
    // Writes the decoded bytes to file, replacing it; raises MailFileError naming the file.
    void saveAs(const std::filesystem::path& file) const;
    bool operator==(const MailAttachment&) const = default;
};

struct MailMessage {
    std::string subject;
    std::string senderName;
    std::string senderAddress;
    std::vector<MailRecipient> recipients;
    // The Date header, to the second; none when the mail has none or it cannot be read.
    std::optional<std::chrono::system_clock::time_point> sentOn;
    // Without the angle brackets.
    std::string messageId;
    Importance importance = Importance::Normal;
    // The first text/plain and text/html parts that are not attachments.
    std::string body;
    std::string htmlBody;
    std::vector<MailAttachment> attachments;
    bool operator==(const MailMessage&) const = default;
};

} // namespace velmora::mailbox
