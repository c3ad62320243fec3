// inotify in non-blocking mode: a file renamed in or written and closed is reported, a file
// opened and still being written is not, so a reader never picks up half a message.
#include "platform/mailbox/FolderWatch.h"

#include "platform/mailbox/Maildir.h"

#include <sys/inotify.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace velmora::mailbox {

namespace {

constexpr std::uint32_t watchedEvents =
    IN_MOVED_TO | IN_CLOSE_WRITE | IN_MOVED_FROM | IN_DELETE | IN_CREATE;

} // namespace

FolderWatch::FolderWatch() : fd_(::inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    if (fd_ < 0)
        throw MailboxError(std::string("cannot watch the mailbox for changes: ") +
                           std::strerror(errno));
}

FolderWatch::~FolderWatch() {
    ::close(fd_);
}

void FolderWatch::watch(const std::filesystem::path& folder) {
    const int wd = ::inotify_add_watch(fd_, folder.c_str(), watchedEvents);
    if (wd < 0) throw MailboxError("cannot watch " + folder.string() + ": " + std::strerror(errno));
    folders_[wd] = folder;
}

std::vector<FolderChange> FolderWatch::changes() {
    std::vector<FolderChange> found;
    alignas(inotify_event) std::array<char, 16384> buffer{};
    for (;;) {
        const ssize_t length = ::read(fd_, buffer.data(), buffer.size());
        if (length < 0 && errno == EINTR) continue;
        if (length <= 0) break; // EAGAIN: nothing more for now
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            const auto folder = folders_.find(event->wd);
            if (folder == folders_.end() || event->len == 0) continue;
            const std::filesystem::path file = folder->second / event->name;
            if (event->mask & IN_ISDIR) continue;
            if (event->mask & IN_CREATE) {
                created_.insert(file);
                continue;
            }
            if (event->mask & IN_MOVED_TO) {
                found.push_back({FolderChange::Kind::Added, file});
            } else if (event->mask & IN_CLOSE_WRITE) {
                const bool isNew = created_.erase(file) > 0;
                found.push_back(
                    {isNew ? FolderChange::Kind::Added : FolderChange::Kind::Changed, file});
            } else if (event->mask & (IN_MOVED_FROM | IN_DELETE)) {
                created_.erase(file);
                found.push_back({FolderChange::Kind::Removed, file});
            }
        }
    }
    return found;
}

} // namespace velmora::mailbox
