// Undo and deferred work on attachment folders. Rolling back runs while an exception is on its
// way out, and committing runs after the rows are stored, so nothing here may throw.
#include "links/FileChangeJournal.h"

#include "platform/files/FileSystem.h"
#include "platform/log/Log.h"

#include <algorithm>
#include <exception>

namespace velmora {

void FileChangeJournal::createdFolder(const std::filesystem::path& folder) {
    entries_.push_back({Kind::Created, folder, {}});
}

void FileChangeJournal::stagedFolder(const std::filesystem::path& pending,
                                     const std::filesystem::path& folder) {
    entries_.push_back({Kind::Staged, pending, folder});
}

bool FileChangeJournal::isStaged(const std::filesystem::path& pending) const {
    return std::any_of(entries_.begin(), entries_.end(),
                       [&](const Entry& e) { return e.kind == Kind::Staged && e.path == pending; });
}

void FileChangeJournal::deleteOnCommit(const std::filesystem::path& folder) {
    entries_.push_back({Kind::DeleteOnCommit, folder, {}});
}

void FileChangeJournal::rollbackTo(std::size_t mark) noexcept {
    while (entries_.size() > mark) {
        const Entry e = entries_.back();
        entries_.pop_back();
        try {
            if (e.kind != Kind::DeleteOnCommit && files::folderExists(e.path))
                steps_.deleteFolder(e.path);
        } catch (...) {
        }
    }
}

void FileChangeJournal::commit() noexcept {
    for (const Entry& e : entries_) {
        try {
            if (e.kind == Kind::Staged) {
                // Whatever the folder held has no rows any more: the pending one replaces it.
                if (files::folderExists(e.target)) steps_.deleteFolder(e.target);
                steps_.renameFolder(e.path, e.target);
            } else if (e.kind == Kind::DeleteOnCommit && files::folderExists(e.path)) {
                steps_.deleteFolder(e.path);
            }
        } catch (const std::exception& error) {
            log::error("attachments", error.what());
        }
    }
    entries_.clear();
}

} // namespace velmora
