// The attachment-folder changes one link operation made, so that they follow its transaction:
// folders it created are removed on rollback, while replacements and removals wait for the commit.
#pragma once

#include "links/FileSteps.h"

#include <cstddef>
#include <filesystem>
#include <vector>

namespace velmora {

class FileChangeJournal {
  public:
    explicit FileChangeJournal(const FileSteps& steps) : steps_(steps) {}

    // The position to roll back to; taken when a transaction level begins.
    std::size_t mark() const { return entries_.size(); }

    void createdFolder(const std::filesystem::path& folder);
    // The pending folder holds what the folder is to hold once the rows commit: commit() puts
    // it in the folder's place, rollback removes it. Until then the folder stays as it is.
    void stagedFolder(const std::filesystem::path& pending, const std::filesystem::path& folder);
    // True when the pending folder was staged since the last commit.
    bool isStaged(const std::filesystem::path& pending) const;
    // The folder stays until commit(), so that a rolled-back removal loses no copy.
    void deleteOnCommit(const std::filesystem::path& folder);

    // Undoes the changes recorded after the mark, newest first; failures are skipped.
    void rollbackTo(std::size_t mark) noexcept;
    // Carries out the waiting replacements and removals in the order they were recorded
    // (failures logged: the next start finishes them) and forgets everything.
    void commit() noexcept;

  private:
    enum class Kind { Created, Staged, DeleteOnCommit };
    struct Entry {
        Kind kind;
        std::filesystem::path path;
        std::filesystem::path target;
    };
    const FileSteps& steps_;
    std::vector<Entry> entries_;
};

} // namespace velmora
