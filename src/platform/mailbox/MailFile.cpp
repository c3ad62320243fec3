// The file side of mail files: reading a whole message or only its header block, writing a new
// file safely, saving an attachment, and the one message that names a file's problems.
#include "platform/mailbox/MailFile.h"

#include "platform/mailbox/MimeReader.h"
#include "platform/mailbox/MimeWriter.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::mailbox {
namespace {

[[noreturn]] void fail(const char* what, const std::filesystem::path& file,
                       const std::string& reason) {
    throw MailFileError(std::string(what) + " '" + file.string() + "': " + reason);
}

// Closes the descriptor however the read or write ends.
class Descriptor {
  public:
    explicit Descriptor(int fd) : fd_(fd) {}
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    ~Descriptor() {
        if (fd_ >= 0) ::close(fd_);
    }
    int get() const { return fd_; }

  private:
    int fd_;
};

// The end of the header block: the blank line that ends it, or npos while none has come.
std::size_t headerEnd(std::string_view bytes) {
    const std::size_t lf = bytes.find("\n\n");
    const std::size_t crlf = bytes.find("\n\r\n");
    const std::size_t end = std::min(lf, crlf);
    return end == std::string_view::npos ? end : end + 1;
}

// Reads to the end, or in Headers mode to the blank line after the headers.
std::string readBytes(const std::filesystem::path& file, ReadMode mode, std::size_t& size) {
    const Descriptor fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC));
    if (fd.get() < 0) fail("Cannot read mail file", file, std::strerror(errno));
    struct stat status {};
    if (::fstat(fd.get(), &status) != 0) fail("Cannot read mail file", file, std::strerror(errno));
    if (S_ISDIR(status.st_mode)) fail("Cannot read mail file", file, "it is a folder");
    size = static_cast<std::size_t>(status.st_size);
    std::string bytes;
    char buffer[16384];
    for (;;) {
        const ssize_t got = ::read(fd.get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) fail("Cannot read mail file", file, std::strerror(errno));
        if (got == 0) break;
        // Only the new bytes (and the two before, where a blank line may start) are searched.
        const std::size_t from = bytes.size() < 2 ? 0 : bytes.size() - 2;
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (mode != ReadMode::Headers) continue;
        const std::size_t end = headerEnd(std::string_view(bytes).substr(from));
        if (end == std::string_view::npos) continue;
        bytes.resize(from + end);
        break;
    }
    if (mode == ReadMode::Full) size = bytes.size();
    return bytes;
}

void writeAll(int fd, std::string_view bytes, const std::filesystem::path& file) {
    while (!bytes.empty()) {
        const ssize_t done = ::write(fd, bytes.data(), bytes.size());
        if (done < 0 && errno == EINTR) continue;
        if (done < 0) {
            const std::string reason = std::strerror(errno);
            ::unlink(file.c_str());
            fail("Cannot write mail file", file, reason);
        }
        bytes.remove_prefix(static_cast<std::size_t>(done));
    }
}

} // namespace

MailRead MailFile::read(const std::filesystem::path& file, ReadMode mode) {
    std::size_t size = 0;
    const std::string bytes = readBytes(file, mode, size);
    if (bytes.empty()) fail("Cannot read mail file", file, "the file is empty");
    try {
        MailRead read = readMessage(bytes, mode);
        read.size = size;
        return read;
    } catch (const MailFileError& e) {
        fail("Cannot read mail file", file, e.what());
    }
}

MailRead MailFile::parse(std::string_view bytes, ReadMode mode) {
    if (mode == ReadMode::Full) return readMessage(bytes, mode);
    MailRead read = readMessage(bytes.substr(0, headerEnd(bytes)), mode);
    read.size = bytes.size();
    return read;
}

std::string MailFile::format(const MailMessage& mail) {
    return formatMessage(mail);
}

void MailFile::write(const MailMessage& mail, const std::filesystem::path& file) {
    const std::string bytes = formatMessage(mail);
    const Descriptor fd(::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600));
    if (fd.get() < 0) fail("Cannot write mail file", file, std::strerror(errno));
    writeAll(fd.get(), bytes, file);
    if (::fsync(fd.get()) != 0) {
        const std::string reason = std::strerror(errno);
        ::unlink(file.c_str());
        fail("Cannot write mail file", file, reason);
    }
}

void MailAttachment::saveAs(const std::filesystem::path& file) const {
    const Descriptor fd(::open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (fd.get() < 0) fail("Cannot save attachment", file, std::strerror(errno));
    writeAll(fd.get(), content, file);
}

std::string describeProblems(const std::filesystem::path& file,
                             const std::vector<std::string>& problems) {
    if (problems.empty()) return {};
    std::string text = "Mail file '" + file.string() + "': ";
    for (std::size_t i = 0; i < problems.size(); ++i)
        text += (i == 0 ? "" : "; ") + problems[i];
    return text;
}

} // namespace velmora::mailbox
