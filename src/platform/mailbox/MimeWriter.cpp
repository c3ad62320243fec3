// Writes a message with GMime: headers as UTF-8 encoded words, the bodies as one text part or a
// multipart/alternative, attachments beside them in a multipart/mixed.
#include "platform/mailbox/MimeWriter.h"

#include "platform/mailbox/GMimeSupport.h"

namespace velmora::mailbox {
namespace {

// A leaf part holding bytes, in the transfer encoding that fits them.
GMimePart* leafPart(const std::string& contentType, const std::string& bytes, bool text) {
    const std::size_t slash = contentType.find('/');
    const bool typed = slash != std::string::npos && slash > 0 && slash + 1 < contentType.size();
    const std::string type = typed ? contentType.substr(0, slash) : "application";
    const std::string subtype = typed ? contentType.substr(slash + 1) : "octet-stream";
    GMimePart* part = text ? GMIME_PART(g_mime_text_part_new_with_subtype(subtype.c_str()))
                           : g_mime_part_new_with_type(type.c_str(), subtype.c_str());
    const GPtr<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(bytes.data(), bytes.size()));
    const GPtr<GMimeDataWrapper> content(
        g_mime_data_wrapper_new_with_stream(stream.get(), GMIME_CONTENT_ENCODING_DEFAULT));
    g_mime_part_set_content(part, content.get());
    if (text) g_mime_object_set_content_type_parameter(GMIME_OBJECT(part), "charset", "utf-8");
    // Text that does not end its last line would get a line end from the writer when it is
    // the message's only part; base64 keeps it exact.
    const bool exact = !text || (!bytes.empty() && bytes.back() != '\n');
    g_mime_part_set_content_encoding(
        part, exact ? GMIME_CONTENT_ENCODING_BASE64
                    : g_mime_part_get_best_content_encoding(part, GMIME_ENCODING_CONSTRAINT_7BIT));
    return part;
}

GMimeObject* bodyPart(const MailMessage& mail) {
    if (mail.htmlBody.empty()) return GMIME_OBJECT(leafPart("text/plain", mail.body, true));
    if (mail.body.empty()) return GMIME_OBJECT(leafPart("text/html", mail.htmlBody, true));
    GMimeMultipart* alternative = g_mime_multipart_new_with_subtype("alternative");
    const GPtr<GMimePart> plain(leafPart("text/plain", mail.body, true));
    const GPtr<GMimePart> html(leafPart("text/html", mail.htmlBody, true));
    g_mime_multipart_add(alternative, GMIME_OBJECT(plain.get()));
    g_mime_multipart_add(alternative, GMIME_OBJECT(html.get()));
    return GMIME_OBJECT(alternative);
}

GMimeObject* attachmentPart(const MailAttachment& attachment) {
    // Named text files stay bytes too: they are the user's files, not the mail's text.
    GMimePart* part = leafPart(attachment.contentType, attachment.content, false);
    g_mime_object_set_disposition(GMIME_OBJECT(part), GMIME_DISPOSITION_ATTACHMENT);
    if (!attachment.displayName.empty())
        g_mime_part_set_filename(part, attachment.displayName.c_str());
    return GMIME_OBJECT(part);
}

} // namespace

std::string formatMessage(const MailMessage& mail) {
    ensureGMime();
    const GPtr<GMimeMessage> message(g_mime_message_new(TRUE));
    if (!mail.senderName.empty() || !mail.senderAddress.empty())
        g_mime_message_add_mailbox(message.get(), GMIME_ADDRESS_TYPE_FROM, mail.senderName.c_str(),
                                   mail.senderAddress.c_str());
    for (const MailRecipient& recipient : mail.recipients) {
        const GMimeAddressType type = recipient.type == RecipientType::Cc ? GMIME_ADDRESS_TYPE_CC
                                      : recipient.type == RecipientType::Bcc
                                          ? GMIME_ADDRESS_TYPE_BCC
                                          : GMIME_ADDRESS_TYPE_TO;
        g_mime_message_add_mailbox(message.get(), type, recipient.name.c_str(),
                                   recipient.address.c_str());
    }
    g_mime_message_set_subject(message.get(), mail.subject.c_str(), "utf-8");
    if (mail.sentOn) {
        GDateTime* date = g_date_time_new_from_unix_utc(
            std::chrono::duration_cast<std::chrono::seconds>(mail.sentOn->time_since_epoch())
                .count());
        g_mime_message_set_date(message.get(), date);
        g_date_time_unref(date);
    }
    if (!mail.messageId.empty())
        g_mime_message_set_message_id(message.get(), mail.messageId.c_str());
    GMimeObject* object = GMIME_OBJECT(message.get());
    if (mail.importance == Importance::High) {
        g_mime_object_set_header(object, "Importance", "high", nullptr);
        g_mime_object_set_header(object, "X-Priority", "1", nullptr);
    } else if (mail.importance == Importance::Low) {
        g_mime_object_set_header(object, "Importance", "low", nullptr);
        g_mime_object_set_header(object, "X-Priority", "5", nullptr);
    }

    GPtr<GMimeObject> body(bodyPart(mail));
    if (!mail.attachments.empty()) {
        GMimeMultipart* mixed = g_mime_multipart_new_with_subtype("mixed");
        g_mime_multipart_add(mixed, body.get());
        for (const MailAttachment& attachment : mail.attachments) {
            const GPtr<GMimeObject> part(attachmentPart(attachment));
            g_mime_multipart_add(mixed, part.get());
        }
        body.reset(GMIME_OBJECT(mixed));
    }
    g_mime_message_set_mime_part(message.get(), body.get());
    const GText text(g_mime_object_to_string(object, nullptr));
    return text ? text.get() : "";
}

} // namespace velmora::mailbox
