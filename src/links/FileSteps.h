// The link engine's file steps below the install path: each is announced to the platform's file
// watch just before it is taken, so that a test can stop the process between any two of them.
#pragma once

#include "platform/host/ObjectModel.h"
#include "store/StoreContext.h"

#include <filesystem>
#include <string_view>

namespace velmora {

class FileSteps {
  public:
    explicit FileSteps(const Platform& platform) : platform_(platform) {}

    void createFolder(const std::filesystem::path& folder) const;
    // Removes the folder with everything in it, read-only entries included.
    void deleteFolder(const std::filesystem::path& folder) const;
    void deleteFile(const std::filesystem::path& file) const;
    void renameFolder(const std::filesystem::path& from, const std::filesystem::path& to) const;
    // Every file of the folder from also in the folder to, as a hard link where the file system
    // allows one, else as a copy; a file the folder to holds already is kept.
    void shareFiles(const std::filesystem::path& from, const std::filesystem::path& to) const;
    // The attachment's copy, written by the host.
    void saveAttachment(const host::Attachment& attachment,
                        const std::filesystem::path& file) const;

  private:
    void announce(std::string_view step, const std::filesystem::path& path) const;

    const Platform& platform_;
};

} // namespace velmora
