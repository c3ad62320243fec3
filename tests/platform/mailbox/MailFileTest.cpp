// Mail files read and written: the header fields, Chinese charsets, attachments, headers-only
// reads, the round trip of a composed mail, and what a broken or missing file gives.
#include "platform/mailbox/MailFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

using namespace velmora::mailbox;
namespace fs = std::filesystem;

namespace {

fs::path data(const char* name) {
    return fs::path(VELMORA_TEST_DATA) / name;
}

std::string bytesOf(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

bool mentions(const MailRead& read, const std::string& text) {
    for (const std::string& problem : read.problems)
        if (problem.find(text) != std::string::npos) return true;
    return false;
}

std::chrono::system_clock::time_point utc(std::time_t seconds) {
    return std::chrono::system_clock::from_time_t(seconds);
}

class TempFolder {
  public:
    TempFolder() : path_(fs::temp_directory_path() / ("mailfile-" + std::to_string(::getpid()))) {
        fs::remove_all(path_);
        fs::create_directories(path_);
    }
    ~TempFolder() { fs::remove_all(path_); }
    const fs::path& path() const { return path_; }

  private:
    fs::path path_;
};

} // namespace

TEST(MailFile, ReadsTheHeaderFieldsAndThePlainBody) {
    const MailRead read = MailFile::read(data("plain.eml"));
    const MailMessage& mail = read.mail;
    EXPECT_TRUE(read.problems.empty()) << describeProblems("plain.eml", read.problems);
    EXPECT_EQ(read.size, fs::file_size(data("plain.eml")));
    EXPECT_EQ(mail.subject, "Quarterly figures");
    EXPECT_EQ(mail.senderName, "Alice Martin");
    EXPECT_EQ(mail.senderAddress, "alice@example.com");
    const std::vector<MailRecipient> recipients{
        {"Bob Stone", "bob@example.com", RecipientType::To},
        {"", "carol@example.com", RecipientType::To},
        {"Dan, the reviewer", "dan@example.com", RecipientType::Cc},
        {"", "eve@example.com", RecipientType::Bcc},
    };
    EXPECT_EQ(mail.recipients, recipients);
    EXPECT_EQ(mail.sentOn, utc(1796113800)); // 2026-12-01 08:30:00 UTC
    EXPECT_EQ(mail.messageId, "q4-figures@example.com");
    EXPECT_EQ(mail.importance, Importance::High);
    EXPECT_EQ(mail.body, "Hello Bob,\n\nthe figures are attached.\n");
    EXPECT_EQ(mail.htmlBody, "");
    EXPECT_TRUE(mail.attachments.empty());
}

TEST(MailFile, DecodesChineseHeadersAndBodiesToUtf8) {
    const MailRead read = MailFile::read(data("alternative-gb2312.eml"));
    EXPECT_TRUE(read.problems.empty()) << describeProblems("gb2312", read.problems);
    EXPECT_EQ(read.mail.subject, "季度报告");
    EXPECT_EQ(read.mail.senderName, "张三");
    // Labelled GB2312 but holding a GBK-only character, as such mails often do.
    EXPECT_EQ(read.mail.body, "你好，附件是报告。朱镕基");
    EXPECT_EQ(read.mail.htmlBody, "<p>你好，<b>附件</b>是报告。</p>");
    EXPECT_EQ(read.mail.importance, Importance::Low);
    EXPECT_TRUE(read.mail.attachments.empty());
}

TEST(MailFile, ReadsAttachmentsWithTheirDecodedNamesAndSavesThem) {
    const MailRead read = MailFile::read(data("two-attachments.eml"));
    EXPECT_TRUE(read.problems.empty()) << describeProblems("two", read.problems);
    EXPECT_EQ(read.mail.body, "See the files.");
    ASSERT_EQ(read.mail.attachments.size(), 2U);
    const MailAttachment& pdf = read.mail.attachments[0];
    EXPECT_EQ(pdf.displayName, "年度报告.pdf");
    EXPECT_EQ(pdf.contentType, "application/pdf");
    EXPECT_EQ(pdf.content, std::string("%PDF-1.4 fake\0\1\2", 16));
    const MailAttachment& png = read.mail.attachments[1];
    EXPECT_EQ(png.displayName, "图表.png");
    EXPECT_EQ(png.contentType, "image/png");
    ASSERT_EQ(png.size(), 256U);
    EXPECT_EQ(static_cast<unsigned char>(png.content[255]), 255U);

    TempFolder folder;
    png.saveAs(folder.path() / "chart.png");
    EXPECT_EQ(bytesOf(folder.path() / "chart.png"), png.content);
    EXPECT_THROW(png.saveAs(folder.path() / "missing" / "chart.png"), MailFileError);
}

TEST(MailFile, HeadersModeReadsTheHeadersAndLeavesTheBodiesAlone) {
    for (const char* name : {"plain.eml", "alternative-gb2312.eml", "two-attachments.eml"}) {
        const MailRead full = MailFile::read(data(name));
        const MailRead headers = MailFile::read(data(name), ReadMode::Headers);
        MailMessage expected = full.mail;
        expected.body.clear();
        expected.htmlBody.clear();
        expected.attachments.clear();
        EXPECT_EQ(headers.mail, expected) << name;
        EXPECT_EQ(headers.size, full.size) << name;
        EXPECT_TRUE(headers.problems.empty()) << describeProblems(name, headers.problems);
        const MailRead parsed = MailFile::parse(bytesOf(data(name)), ReadMode::Headers);
        EXPECT_EQ(parsed.mail, expected) << name;
    }
    // A header block whose blank line falls across two of the reader's 16 KiB steps.
    std::string header = "Subject: long\n";
    while (header.size() < 16000)
        header += "X-Filler: " + std::string(60, 'f') + "\n";
    const std::string last = "Importance: high\n";
    header += "X-Pad: " + std::string(16384 - header.size() - last.size() - 8, 'p') + "\n" + last;
    ASSERT_EQ(header.size(), 16384U);
    TempFolder folder;
    std::ofstream(folder.path() / "long", std::ios::binary) << header << "\nbody\n";
    const MailRead longHeaders = MailFile::read(folder.path() / "long", ReadMode::Headers);
    EXPECT_EQ(longHeaders.mail.subject, "long");
    EXPECT_EQ(longHeaders.mail.importance, Importance::High);
    EXPECT_EQ(longHeaders.size, header.size() + 6);
    EXPECT_EQ(MailFile::read(folder.path() / "long").mail.body, "body\n");

    // The body's unknown charset is not looked at; the subject's still is.
    const MailRead headers = MailFile::read(data("unknown-charset.eml"), ReadMode::Headers);
    EXPECT_TRUE(mentions(headers, "unknown charset \"x-martian\" in the Subject header"));
    EXPECT_FALSE(mentions(headers, "in the body"));
}

TEST(MailFile, BadInputKeepsWhatCanBeReadAndSaysWhatWasWrong) {
    const MailRead unknown = MailFile::read(data("unknown-charset.eml"));
    EXPECT_EQ(unknown.mail.senderAddress, "alice@example.com");
    EXPECT_EQ(unknown.mail.body, "Grüße aus Köln\n");
    EXPECT_FALSE(unknown.mail.sentOn);
    EXPECT_TRUE(mentions(unknown, "unknown charset \"x-martian\" in the body"));
    EXPECT_TRUE(mentions(unknown, "unknown charset \"x-martian\" in the Subject header"));
    EXPECT_TRUE(mentions(unknown, "an unreadable Date \"sometime soon\""));
    EXPECT_EQ(
        describeProblems("/m/cur/1:2,S", unknown.problems).rfind("Mail file '/m/cur/1:2,S': ", 0),
        0U);
    EXPECT_EQ(describeProblems("/m/cur/1:2,S", {}), "");

    const MailRead malformed = MailFile::read(data("malformed.eml"));
    EXPECT_EQ(malformed.mail.subject, "Broken but readable");
    EXPECT_EQ(malformed.mail.body, "The first part is fine.");
    EXPECT_TRUE(mentions(malformed, "truncated"));
    ASSERT_EQ(malformed.mail.attachments.size(), 1U);
    // A name with folders in it never chooses where a copy goes.
    EXPECT_EQ(malformed.mail.attachments[0].displayName, ".profile");

    // A file cut short in the middle of an attachment.
    const std::string whole = bytesOf(data("two-attachments.eml"));
    const MailRead cut = MailFile::parse(std::string_view(whole).substr(0, whole.size() / 2));
    EXPECT_EQ(cut.mail.subject, "Two files");
    EXPECT_EQ(cut.mail.body, "See the files.");
    EXPECT_TRUE(mentions(cut, "truncated"));

    const MailRead farOff =
        MailFile::parse("Subject: far off\nDate: Fri, 31 Dec 9999 00:00:00 +0000\n\nx\n");
    EXPECT_FALSE(farOff.mail.sentOn);
    EXPECT_TRUE(mentions(farOff, "an unreadable Date"));

    // A five-byte form, which UTF-8 no longer allows, is replaced and named.
    const MailRead oldForm = MailFile::parse(
        "Subject: s\nContent-Type: text/plain; charset=utf-8\n\nok \xf8\xa0\xba\xb7\xac end\n");
    EXPECT_EQ(oldForm.mail.body,
              "ok \xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD end\n");
    EXPECT_TRUE(mentions(oldForm, "bytes not valid in charset utf-8 replaced in the body"));

    // Bytes that hold no mail at all are refused, not guessed at.
    const std::string noise("\0\xff\xfe=?\r\n--\n\n\x80", 12);
    EXPECT_THROW(MailFile::parse(noise), MailFileError);

    TempFolder folder;
    const fs::path gone = folder.path() / "vanished:2,S";
    for (const fs::path& file : {gone, folder.path()}) {
        try {
            MailFile::read(file);
            ADD_FAILURE() << file << " was read";
        } catch (const MailFileError& e) {
            EXPECT_EQ(
                std::string(e.what()).rfind("Cannot read mail file '" + file.string() + "': ", 0),
                0U)
                << e.what();
        }
    }
    std::ofstream(folder.path() / "empty").close();
    EXPECT_THROW(MailFile::read(folder.path() / "empty"), MailFileError);
}

TEST(MailFile, AComposedMailReadsBackAsWritten) {
    MailMessage mail;
    mail.subject = "关于季度报告的问题 (Q4)";
    mail.senderName = "张三";
    mail.senderAddress = "zhangsan@example.cn";
    mail.recipients = {{"李四", "lisi@example.cn", RecipientType::To},
                       {"Bob Stone", "bob@example.com", RecipientType::To},
                       {"王五, 财务", "wangwu@example.cn", RecipientType::Cc},
                       {"", "audit@example.cn", RecipientType::Bcc}};
    mail.sentOn = utc(1796113800);
    mail.messageId = "20261201.1@velmora.example";
    mail.importance = Importance::High;
    mail.body = "你好，\n\n请看附件。 Line with trailing space \n" + std::string(200, 'x') + "\n";
    mail.htmlBody = "<p>你好，请看<b>附件</b>。</p>\n";
    mail.attachments = {{"年度报告 2026.pdf", "application/pdf", std::string("%PDF\0\1\2\xff", 8)},
                        {"notes.txt", "text/plain", "plain notes\n"}};

    EXPECT_EQ(MailFile::parse(MailFile::format(mail)).mail, mail);
    // A forwarded mail travels as a message, not as encoded bytes.
    MailMessage forward = mail;
    forward.attachments = {{"转发.eml", "message/rfc822", bytesOf(data("plain.eml"))}};
    EXPECT_EQ(MailFile::parse(MailFile::format(forward)).mail, forward);

    // One body alone, no attachments, no date, normal importance.
    MailMessage plain;
    plain.subject = "Hello";
    plain.body = "Just text.\n";
    EXPECT_EQ(MailFile::parse(MailFile::format(plain)).mail, plain);
    MailMessage html = plain;
    html.body.clear();
    html.htmlBody = "<p>Only HTML</p>";
    html.importance = Importance::Low;
    EXPECT_EQ(MailFile::parse(MailFile::format(html)).mail, html);

    TempFolder folder;
    const fs::path file = folder.path() / "1765000000.1.host";
    MailFile::write(mail, file);
    const MailRead read = MailFile::read(file);
    EXPECT_EQ(read.mail, mail);
    EXPECT_TRUE(read.problems.empty()) << describeProblems(file, read.problems);
    // A file already there is never overwritten.
    EXPECT_THROW(MailFile::write(plain, file), MailFileError);
    EXPECT_EQ(MailFile::read(file).mail, mail);
}
