// The file-system seam for the attachment copies: folder tests, creation, listing, forced removal
// and renaming. Every failure raises FileError naming the operation, the path and the reason.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

namespace velmora::files {

class FileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// True when the path names an existing folder (a file of that name is not a folder).
bool folderExists(const std::filesystem::path& folder);

// Creates one folder; its parent must exist and nothing may have the folder's name yet.
void createFolder(const std::filesystem::path& folder);

// The names of the folders directly inside a folder, in name order.
std::vector<std::string> subFolders(const std::filesystem::path& folder);

// Removes a folder with everything in it; force also removes read-only entries.
void deleteFolder(const std::filesystem::path& folder, bool force);

// Renames a folder inside its parent; fails when the target name is taken.
void renameFolder(const std::filesystem::path& from, const std::filesystem::path& to);

} // namespace velmora::files
