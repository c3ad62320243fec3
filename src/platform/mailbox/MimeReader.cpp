// Reads a message with GMime: the parser's own warnings and this reader's findings (unknown
// charsets, an unreadable date) become the read's problems, each named once.
#include "platform/mailbox/MimeReader.h"

#include "platform/mailbox/Charsets.h"
#include "platform/mailbox/GMimeSupport.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <set>
#include <utility>

namespace velmora::mailbox {
namespace {

// What a parser warning means to a user; nullptr for warnings about things GMime reads well
// (a repeated header, raw 8-bit text in a header).
const char* warningText(GMimeParserWarning code) {
    static constexpr std::pair<GMimeParserWarning, const char*> texts[] = {
        {GMIME_WARN_INVALID_CONTENT_TYPE, "an unreadable Content-Type, read as bytes"},
        {GMIME_WARN_INVALID_RFC2047_HEADER_VALUE, "an invalid encoded word in a header"},
        {GMIME_WARN_INVALID_PARAMETER, "an invalid header parameter"},
        {GMIME_WARN_MALFORMED_MULTIPART, "a multipart without parts"},
        {GMIME_WARN_TRUNCATED_MESSAGE, "the message is truncated"},
        {GMIME_WARN_MALFORMED_MESSAGE, "the message is malformed"},
        {GMIME_WARN_INVALID_ADDRESS_LIST, "an unreadable address list"},
        {GMIME_CRIT_INVALID_HEADER_NAME, "an invalid header name; parts may be missing"},
        {GMIME_CRIT_CONFLICTING_HEADER, "conflicting headers"},
        {GMIME_CRIT_CONFLICTING_PARAMETER, "conflicting header parameters"},
        {GMIME_CRIT_MULTIPART_WITHOUT_BOUNDARY, "a multipart without a boundary"},
        {GMIME_CRIT_NESTING_OVERFLOW, "parts nested too deeply; the deeper ones are skipped"},
        {GMIME_WARN_PART_WITHOUT_CONTENT, "a part without content"},
        {GMIME_CRIT_PART_WITHOUT_HEADERS_OR_CONTENT, "a part without headers or content"},
    };
    for (const auto& [known, text] : texts)
        if (known == code) return text;
    return nullptr;
}

// Warnings about the body's structure: a headers-only read gives the parser no body, so they
// say nothing about the mail there.
bool aboutBody(GMimeParserWarning code) {
    return code == GMIME_WARN_MALFORMED_MULTIPART || code == GMIME_WARN_TRUNCATED_MESSAGE ||
           code == GMIME_WARN_MALFORMED_MESSAGE || code == GMIME_WARN_PART_WITHOUT_CONTENT ||
           code == GMIME_CRIT_PART_WITHOUT_HEADERS_OR_CONTENT;
}

class Reader {
  public:
    explicit Reader(ReadMode mode) : mode_(mode) {}

    MailRead read(std::string_view bytes);

  private:
    static void onWarning(gint64, GMimeParserWarning code, const gchar*, gpointer self) {
        try {
            static_cast<Reader*>(self)->warnings_.insert(code);
        } catch (...) { // out of memory: the warning is lost, the read goes on
        }
    }

    void problem(std::string text);
    void checkHeaderCharsets(GMimeObject* object);
    void readAddresses(GMimeMessage* message);
    void readDate(GMimeMessage* message);
    void readImportance(GMimeObject* message);
    void readPart(GMimeObject* object);
    void readLeaf(GMimePart* part);
    std::string contentOf(GMimePart* part);

    ReadMode mode_;
    std::set<GMimeParserWarning> warnings_;
    MailRead result_;
};

void Reader::problem(std::string text) {
    if (std::find(result_.problems.begin(), result_.problems.end(), text) != result_.problems.end())
        return;
    result_.problems.push_back(std::move(text));
}

// GMime shows an encoded word in a charset it cannot convert as "?"s without a word; this says
// which charset and where.
void Reader::checkHeaderCharsets(GMimeObject* object) {
    GMimeHeaderList* headers = g_mime_object_get_header_list(object);
    for (int i = 0; i < g_mime_header_list_get_count(headers); ++i) {
        GMimeHeader* header = g_mime_header_list_get_header_at(headers, i);
        const std::string_view raw =
            g_mime_header_get_raw_value(header) ? g_mime_header_get_raw_value(header) : "";
        for (std::size_t at = raw.find("=?"); at != std::string_view::npos;
             at = raw.find("=?", at + 2)) {
            const std::size_t end = raw.find_first_of("?* \t\r\n", at + 2);
            if (end == std::string_view::npos || raw[end] == ' ' || end == at + 2) continue;
            const std::string_view charset = raw.substr(at + 2, end - at - 2);
            if (!knownCharset(charset))
                problem("unknown charset \"" + std::string(charset) + "\" in the " +
                        g_mime_header_get_name(header) + " header");
        }
    }
}

void Reader::readAddresses(GMimeMessage* message) {
    constexpr std::array<std::pair<GMimeAddressType, RecipientType>, 3> kinds{{
        {GMIME_ADDRESS_TYPE_TO, RecipientType::To},
        {GMIME_ADDRESS_TYPE_CC, RecipientType::Cc},
        {GMIME_ADDRESS_TYPE_BCC, RecipientType::Bcc},
    }};
    // Groups ("team: a@x, b@y;") stand for their members.
    auto each = [](InternetAddressList* list, auto&& use, auto&& self) -> void {
        for (int i = 0; list != nullptr && i < internet_address_list_length(list); ++i) {
            InternetAddress* address = internet_address_list_get_address(list, i);
            if (INTERNET_ADDRESS_IS_GROUP(address)) {
                self(internet_address_group_get_members(INTERNET_ADDRESS_GROUP(address)), use,
                     self);
                continue;
            }
            const char* name = internet_address_get_name(address);
            const char* addr = internet_address_mailbox_get_addr(INTERNET_ADDRESS_MAILBOX(address));
            use(validUtf8(name ? name : ""), validUtf8(addr ? addr : ""));
        }
    };
    MailMessage& mail = result_.mail;
    bool sender = false;
    auto setSender = [&](std::string name, std::string address) {
        if (sender) return;
        sender = true;
        mail.senderName = std::move(name);
        mail.senderAddress = std::move(address);
    };
    each(g_mime_message_get_from(message), setSender, each);
    each(g_mime_message_get_sender(message), setSender, each);
    for (const auto& [kind, type] : kinds)
        each(
            g_mime_message_get_addresses(message, kind),
            [&, type = type](std::string name, std::string address) {
                mail.recipients.push_back({std::move(name), std::move(address), type});
            },
            each);
}

// Importance: high|normal|low first, else X-Priority: 1 and 2 high, 4 and 5 low.
void Reader::readImportance(GMimeObject* message) {
    auto word = [](const char* value) {
        std::string text(value ? value : "");
        text.erase(0, text.find_first_not_of(" \t"));
        std::transform(text.begin(), text.end(), text.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return text;
    };
    const std::string importance = word(g_mime_object_get_header(message, "Importance"));
    Importance& out = result_.mail.importance;
    if (importance.starts_with("high")) out = Importance::High;
    if (importance.starts_with("low")) out = Importance::Low;
    if (importance.starts_with("high") || importance.starts_with("low") ||
        importance.starts_with("normal"))
        return;
    const std::string priority = word(g_mime_object_get_header(message, "X-Priority"));
    if (priority.empty()) return;
    if (priority[0] == '1' || priority[0] == '2') out = Importance::High;
    if (priority[0] == '4' || priority[0] == '5') out = Importance::Low;
}

// A time point holds about 292 years either side of 1970; a Date beyond is as good as none.
void Reader::readDate(GMimeMessage* message) {
    using std::chrono::seconds;
    constexpr auto limit =
        std::chrono::duration_cast<seconds>(std::chrono::system_clock::duration::max()).count();
    GDateTime* date = g_mime_message_get_date(message);
    const gint64 unix = date != nullptr ? g_date_time_to_unix(date) : 0;
    if (date != nullptr && unix > -limit && unix < limit) {
        result_.mail.sentOn = std::chrono::system_clock::time_point(seconds(unix));
        return;
    }
    if (const char* raw = g_mime_object_get_header(GMIME_OBJECT(message), "Date"))
        problem("an unreadable Date \"" + validUtf8(raw) + "\"");
}

std::string Reader::contentOf(GMimePart* part) {
    GMimeDataWrapper* content = g_mime_part_get_content(part);
    if (content == nullptr) return {};
    const GPtr<GMimeStream> stream(g_mime_stream_mem_new());
    if (g_mime_data_wrapper_write_to_stream(content, stream.get()) < 0)
        problem("a part whose content cannot be decoded");
    return streamBytes(GMIME_STREAM_MEM(stream.get()));
}

void Reader::readPart(GMimeObject* object) {
    checkHeaderCharsets(object);
    if (GMIME_IS_MULTIPART(object)) {
        auto* multipart = GMIME_MULTIPART(object);
        for (int i = 0; i < g_mime_multipart_get_count(multipart); ++i)
            readPart(g_mime_multipart_get_part(multipart, i));
        return;
    }
    if (GMIME_IS_MESSAGE_PART(object)) {
        // A forwarded mail is one attachment, kept as the message it is.
        MailAttachment attachment;
        attachment.contentType = "message/rfc822";
        GMimeMessage* inner = g_mime_message_part_get_message(GMIME_MESSAGE_PART(object));
        if (inner != nullptr) {
            const GText text(g_mime_object_to_string(GMIME_OBJECT(inner), nullptr));
            attachment.content = text ? text.get() : "";
            const char* subject = g_mime_message_get_subject(inner);
            attachment.displayName = validUtf8(subject ? subject : "") + ".eml";
        }
        result_.mail.attachments.push_back(std::move(attachment));
        return;
    }
    if (GMIME_IS_PART(object)) readLeaf(GMIME_PART(object));
}

// The first text/plain and text/html parts that are not attachments are the bodies; every
// other part is an attachment.
void Reader::readLeaf(GMimePart* part) {
    GMimeContentType* type = g_mime_object_get_content_type(GMIME_OBJECT(part));
    const char* filename = g_mime_part_get_filename(part);
    const bool inlineText = filename == nullptr && !g_mime_part_is_attachment(part);
    MailMessage& mail = result_.mail;
    for (auto [subtype, body, where] : {std::tuple{"plain", &mail.body, "body"},
                                        std::tuple{"html", &mail.htmlBody, "HTML body"}}) {
        if (!inlineText || !body->empty() || !g_mime_content_type_is_type(type, "text", subtype))
            continue;
        const char* charset = g_mime_content_type_get_parameter(type, "charset");
        DecodedText text = decodeText(contentOf(part), charset ? charset : "");
        if (!text.problem.empty()) problem(text.problem + " in the " + where);
        *body = std::move(text.text);
        return;
    }
    MailAttachment attachment;
    std::string name = validUtf8(filename ? filename : "");
    // Only the name: a mail naming "../../.profile" must not choose where a copy goes.
    const std::size_t slash = name.find_last_of("/\\");
    if (slash != std::string::npos) name.erase(0, slash + 1);
    attachment.displayName = std::move(name);
    const GText mimeType(g_mime_content_type_get_mime_type(type));
    attachment.contentType = mimeType ? mimeType.get() : "application/octet-stream";
    attachment.content = contentOf(part);
    mail.attachments.push_back(std::move(attachment));
}

MailRead Reader::read(std::string_view bytes) {
    ensureGMime();
    const GPtr<GMimeStream> stream(g_mime_stream_mem_new_with_buffer(bytes.data(), bytes.size()));
    const GPtr<GMimeParser> parser(g_mime_parser_new_with_stream(stream.get()));
    GMimeParserOptions* options = g_mime_parser_options_new();
    // Raw 8-bit header text: UTF-8 when it is, else the Chinese and Western charsets.
    const char* fallback[] = {"UTF-8", "GB18030", "WINDOWS-1252", nullptr};
    g_mime_parser_options_set_fallback_charsets(options, fallback);
    g_mime_parser_options_set_warning_callback(options, &Reader::onWarning, this);
    const GPtr<GMimeMessage> message(g_mime_parser_construct_message(parser.get(), options));
    g_mime_parser_options_free(options);
    if (!message) throw MailFileError("it holds no message");

    result_.size = bytes.size();
    MailMessage& mail = result_.mail;
    GMimeObject* object = GMIME_OBJECT(message.get());
    checkHeaderCharsets(object);
    const char* subject = g_mime_message_get_subject(message.get());
    mail.subject = validUtf8(subject ? subject : "");
    readAddresses(message.get());
    readDate(message.get());
    const char* id = g_mime_message_get_message_id(message.get());
    mail.messageId = validUtf8(id ? id : "");
    readImportance(object);
    if (mode_ == ReadMode::Full) {
        if (GMimeObject* top = g_mime_message_get_mime_part(message.get())) readPart(top);
    }
    for (GMimeParserWarning code : warnings_) {
        if (mode_ == ReadMode::Headers && aboutBody(code)) continue;
        if (const char* text = warningText(code)) problem(text);
    }
    return std::move(result_);
}

} // namespace

MailRead readMessage(std::string_view bytes, ReadMode mode) {
    return Reader(mode).read(bytes);
}

} // namespace velmora::mailbox
