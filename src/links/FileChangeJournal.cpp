// Undo and deferred removal of attachment folders. Rolling back runs while an exception is on
// its way out, so nothing here may throw: a folder that cannot be put back is left as it is.
#include "links/FileChangeJournal.h"

#include "platform/files/FileSystem.h"

namespace velmora {

void FileChangeJournal::createdFolder(const std::filesystem::path& folder) {
    entries_.push_back({Kind::Created, folder, {}});
}

void FileChangeJournal::renamedFolder(const std::filesystem::path& from,
                                      const std::filesystem::path& to) {
    entries_.push_back({Kind::Renamed, from, to});
}

void FileChangeJournal::deleteOnCommit(const std::filesystem::path& folder) {
    entries_.push_back({Kind::DeleteOnCommit, folder, {}});
}

void FileChangeJournal::rollbackTo(std::size_t mark) noexcept {
    while (entries_.size() > mark) {
        const Entry e = entries_.back();
        entries_.pop_back();
        try {
            if (e.kind == Kind::Created && files::folderExists(e.path))
                files::deleteFolder(e.path, true);
            else if (e.kind == Kind::Renamed)
                files::renameFolder(e.target, e.path);
        } catch (...) {
        }
    }
}

void FileChangeJournal::commit() noexcept {
    for (const Entry& e : entries_) {
        if (e.kind != Kind::DeleteOnCommit) continue;
        try {
            if (files::folderExists(e.path)) files::deleteFolder(e.path, true);
        } catch (...) {
        }
    }
    entries_.clear();
}

} // namespace velmora
