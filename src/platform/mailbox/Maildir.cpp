// Maildir++ on disk: unique names of the form seconds.MmicrosPpidQcounter.host, flags after
// ":2,", and every write through tmp/ followed by a rename, so readers never see half a file.
#include "platform/mailbox/Maildir.h"

#include <dirent.h>

#include <fcntl.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <system_error>

namespace velmora::mailbox {

namespace fs = std::filesystem;

namespace {

constexpr std::string_view infoMark = ":2,";

std::string describe(const std::string& what, const fs::path& path, int error) {
    return what + " " + path.string() + ": " + std::strerror(error);
}

// The flags as Maildir wants them: known letters only, each once, in ASCII order.
std::string normalFlags(std::string_view flags) {
    std::string out;
    for (const char c : flags)
        if (c >= 'A' && c <= 'Z' && out.find(c) == std::string::npos) out += c;
    std::sort(out.begin(), out.end());
    return out;
}

void makeDirectory(const fs::path& dir) {
    std::error_code error;
    fs::create_directories(dir, error);
    if (error)
        throw MailboxError("cannot create the folder " + dir.string() + ": " + error.message());
}

void makeMaildir(const fs::path& dir) {
    for (const char* part : {"cur", "new", "tmp"})
        makeDirectory(dir / part);
}

// Writes the whole content and flushes it to disk before the caller renames the file into
// place: after a crash the message is either complete or absent.
void writeFlushed(const fs::path& file, std::string_view bytes) {
    const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) throw MailboxError(describe("cannot write", file, errno));
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + written, bytes.size() - written);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            const int error = errno;
            ::close(fd);
            ::unlink(file.c_str());
            throw MailboxError(describe("cannot write", file, error));
        }
        written += static_cast<std::size_t>(n);
    }
    const bool flushed = ::fsync(fd) == 0;
    const int error = errno;
    ::close(fd);
    if (!flushed) {
        ::unlink(file.c_str());
        throw MailboxError(describe("cannot flush", file, error));
    }
}

void renameInto(const fs::path& from, const fs::path& to) {
    if (::rename(from.c_str(), to.c_str()) != 0)
        throw MailboxError(describe("cannot move " + from.string() + " to", to, errno));
}

// The whole write: flushed under tmp/, then renamed over the target in one step; a staged
// file that cannot be renamed is removed again.
void writeThenRename(const fs::path& staged, const fs::path& target, std::string_view bytes) {
    writeFlushed(staged, bytes);
    try {
        renameInto(staged, target);
    } catch (...) {
        ::unlink(staged.c_str());
        throw;
    }
}

std::string escapeSegment(std::string_view segment) {
    std::string out;
    for (const char c : segment) {
        if (c == '%')
            out += "%25";
        else if (c == '.')
            out += "%2E";
        else
            out += c;
    }
    return out;
}

std::optional<std::string> unescapeSegment(std::string_view segment) {
    std::string out;
    for (std::size_t i = 0; i < segment.size(); ++i) {
        if (segment[i] != '%') {
            out += segment[i];
            continue;
        }
        const std::string_view code = segment.substr(i + 1, 2);
        if (code == "25")
            out += '%';
        else if (code == "2E" || code == "2e")
            out += '.';
        else
            return std::nullopt;
        i += 2;
    }
    return out;
}

// The host part of a unique name, with the two characters Maildir reserves written as octal.
std::string hostPart() {
    std::array<char, 256> name{};
    if (::gethostname(name.data(), name.size() - 1) != 0) return "localhost";
    std::string out;
    for (const char* c = name.data(); *c; ++c) {
        if (*c == '/')
            out += "\\057";
        else if (*c == ':')
            out += "\\072";
        else
            out += *c;
    }
    return out;
}

// readdir rather than directory_iterator: a path object per file would cost more than the
// listing itself.
void scan(const fs::path& dir, bool isNew, bool withPaths, std::vector<MaildirMessage>& found) {
    DIR* stream = ::opendir(dir.c_str());
    if (!stream) {
        if (errno == ENOENT) return;
        throw MailboxError(describe("cannot list", dir, errno));
    }
    while (const dirent* entry = ::readdir(stream)) {
        const std::string_view name = entry->d_name;
        if (name.empty() || name[0] == '.') continue;
        MaildirMessage& message = found.emplace_back(Maildir::parseFileName(name));
        if (withPaths) message.file = dir / name;
        message.isNew = isNew;
    }
    ::closedir(stream);
}

} // namespace

Maildir::Maildir(fs::path root) : root_(std::move(root)) {
    makeMaildir(root_);
}

std::string Maildir::directoryName(std::string_view folder) {
    std::string out;
    std::size_t from = 0;
    while (from <= folder.size()) {
        const std::size_t slash = std::min(folder.find('/', from), folder.size());
        out += "." + escapeSegment(folder.substr(from, slash - from));
        from = slash + 1;
    }
    return out;
}

std::optional<std::string> Maildir::folderName(std::string_view directory) {
    if (directory.size() < 2 || directory[0] != '.' || directory == "..") return std::nullopt;
    std::string out;
    std::size_t from = 1;
    while (from <= directory.size()) {
        const std::size_t dot = std::min(directory.find('.', from), directory.size());
        const auto segment = unescapeSegment(directory.substr(from, dot - from));
        if (!segment || segment->empty()) return std::nullopt;
        out += (out.empty() ? "" : "/") + *segment;
        from = dot + 1;
    }
    return out;
}

MaildirMessage Maildir::parseFileName(std::string_view fileName) {
    MaildirMessage message;
    const std::size_t info = fileName.rfind(infoMark);
    if (info == std::string_view::npos) {
        message.unique = fileName;
        return message;
    }
    message.unique = fileName.substr(0, info);
    message.flags = normalFlags(fileName.substr(info + infoMark.size()));
    return message;
}

std::vector<std::string> Maildir::folders() const {
    std::vector<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(root_, error)) {
        const auto name = folderName(entry.path().filename().string());
        if (name && fs::is_directory(entry.path() / "cur")) names.push_back(*name);
    }
    if (error) throw MailboxError("cannot list " + root_.string() + ": " + error.message());
    std::sort(names.begin(), names.end());
    return names;
}

fs::path Maildir::createFolder(std::string_view folder) {
    if (folder.empty() || folder == "Inbox") return root_;
    fs::path dir = root_ / directoryName(folder);
    makeMaildir(dir);
    return dir;
}

fs::path Maildir::folderPath(std::string_view folder) const {
    if (folder.empty() || folder == "Inbox") return root_;
    fs::path dir = root_ / directoryName(folder);
    if (!fs::is_directory(dir / "cur"))
        throw MailboxError("no mail folder \"" + std::string(folder) + "\" in " + root_.string());
    return dir;
}

std::string MaildirMessage::relative() const {
    return isNew ? "new/" + unique : "cur/" + unique + std::string(infoMark) + flags;
}

std::vector<MaildirMessage> Maildir::messages(std::string_view folder, bool withPaths) const {
    const fs::path dir = folderPath(folder);
    std::vector<MaildirMessage> all;
    scan(dir / "new", true, withPaths, all);
    scan(dir / "cur", false, withPaths, all);
    std::sort(all.begin(), all.end(),
              [](const MaildirMessage& a, const MaildirMessage& b) { return a.unique < b.unique; });
    return all;
}

std::optional<MaildirMessage> Maildir::find(std::string_view folder,
                                            std::string_view unique) const {
    for (MaildirMessage& message : messages(folder))
        if (message.unique == unique) return std::move(message);
    return std::nullopt;
}

std::optional<MaildirMessage> Maildir::locate(std::string_view folder,
                                              const MaildirMessage& seen) const {
    MaildirMessage there = seen;
    there.file = folderPath(folder) / seen.relative();
    if (::access(there.file.c_str(), F_OK) == 0) return there;
    return find(folder, seen.unique);
}

std::string Maildir::freshUnique() {
    timeval now{};
    ::gettimeofday(&now, nullptr);
    static const std::string host = hostPart();
    return std::to_string(now.tv_sec) + ".M" + std::to_string(now.tv_usec) + "P" +
           std::to_string(::getpid()) + "Q" + std::to_string(++counter_) + "." + host;
}

MaildirMessage Maildir::place(const fs::path& folderDir, const std::string& unique,
                              std::string_view bytes, std::string_view flags, bool isNew) {
    MaildirMessage message;
    message.unique = unique;
    message.isNew = isNew;
    message.flags = isNew ? std::string() : normalFlags(flags);
    message.file = isNew ? folderDir / "new" / unique
                         : folderDir / "cur" / (unique + std::string(infoMark) + message.flags);
    writeThenRename(folderDir / "tmp" / unique, message.file, bytes);
    return message;
}

MaildirMessage Maildir::add(std::string_view folder, std::string_view bytes, std::string_view flags,
                            bool isNew) {
    return place(folderPath(folder), freshUnique(), bytes, flags, isNew);
}

MaildirMessage Maildir::present(std::string_view folder, const MaildirMessage& message) const {
    auto current = locate(folder, message);
    if (!current)
        throw MailboxError("the message " + message.unique + " is no longer in " +
                           folderPath(folder).string());
    return std::move(*current);
}

MaildirMessage Maildir::replace(std::string_view folder, const MaildirMessage& message,
                                std::string_view bytes) {
    MaildirMessage current = present(folder, message);
    const fs::path staged = folderPath(folder) / "tmp" / (message.unique + ".replacing");
    ::unlink(staged.c_str());
    writeThenRename(staged, current.file, bytes);
    return current;
}

MaildirMessage Maildir::setFlags(std::string_view folder, const MaildirMessage& message,
                                 std::string_view flags) {
    // Another client may have renamed the file since it was listed: look it up by its name.
    const MaildirMessage current = present(folder, message);
    MaildirMessage changed = current;
    changed.flags = normalFlags(flags);
    changed.isNew = false;
    changed.file =
        folderPath(folder) / "cur" / (changed.unique + std::string(infoMark) + changed.flags);
    if (changed.file != current.file) renameInto(current.file, changed.file);
    return changed;
}

MaildirMessage Maildir::move(std::string_view from, const MaildirMessage& message,
                             std::string_view to) {
    const MaildirMessage current = present(from, message);
    MaildirMessage moved;
    moved.unique = freshUnique();
    moved.flags = current.flags;
    moved.file = folderPath(to) / "cur" / (moved.unique + std::string(infoMark) + moved.flags);
    renameInto(current.file, moved.file);
    return moved;
}

void Maildir::remove(std::string_view folder, const MaildirMessage& message) {
    const auto current = locate(folder, message);
    if (!current) return;
    if (::unlink(current->file.c_str()) != 0 && errno != ENOENT)
        throw MailboxError(describe("cannot remove", current->file, errno));
}

} // namespace velmora::mailbox
