// Changes other programs make to the mailbox's folders (a synchroniser dropping a mail into
// new/, a calendar tool rewriting an .ics), read from inotify without threads or blocking.
#pragma once

#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace velmora::mailbox {

// One file that appeared, changed or went in a watched folder.
struct FolderChange {
    enum class Kind { Added, Changed, Removed };
    Kind kind;
    std::filesystem::path file;
};

// Watches folders (not their subfolders) and hands over what changed when asked: the host
// polls from its own loop, so events arrive on the thread that raises ItemAdd and ItemChange.
// A file written through tmp/ and renamed in counts as Added once; one rewritten in place,
// as Changed when it is closed. Not thread-safe; one instance per host.
class FolderWatch {
  public:
    FolderWatch(); // raises MailboxError when the system has no watch left to give
    ~FolderWatch();
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    // Starts watching a folder; watching it twice is harmless.
    void watch(const std::filesystem::path& folder);
    // What changed since the last call, in the order it happened; empty when nothing did.
    std::vector<FolderChange> changes();

  private:
    int fd_;
    std::map<int, std::filesystem::path> folders_;
    // Files created and not yet closed: their first close is an addition.
    std::set<std::filesystem::path> created_;
};

} // namespace velmora::mailbox
