// The attachment-folder changes one link operation made, so that they follow its transaction:
// folders it created or renamed are put back on rollback, and removals wait for the commit.
#pragma once

#include <cstddef>
#include <filesystem>
#include <vector>

namespace velmora {

class FileChangeJournal {
  public:
    // The position to roll back to; taken when a transaction level begins.
    std::size_t mark() const { return entries_.size(); }

    void createdFolder(const std::filesystem::path& folder);
    void renamedFolder(const std::filesystem::path& from, const std::filesystem::path& to);
    // The folder stays until commit(), so that a rolled-back removal loses no copy.
    void deleteOnCommit(const std::filesystem::path& folder);

    // Undoes the changes recorded after the mark, newest first; failures are skipped.
    void rollbackTo(std::size_t mark) noexcept;
    // Carries out the waiting removals (failures skipped) and forgets everything.
    void commit() noexcept;

  private:
    enum class Kind { Created, Renamed, DeleteOnCommit };
    struct Entry {
        Kind kind;
        std::filesystem::path path;
        std::filesystem::path target;
    };
    std::vector<Entry> entries_;
};

} // namespace velmora
