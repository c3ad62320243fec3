// The file-system seam over std::filesystem: each call turns the library's error codes into a
// FileError whose text says what was attempted on which path.
#include "platform/files/FileSystem.h"

#include <algorithm>
#include <system_error>

namespace velmora::files {

namespace fs = std::filesystem;

namespace {

[[noreturn]] void fail(const std::string& what, const fs::path& path, const std::string& reason) {
    throw FileError(what + " '" + path.string() + "': " + reason);
}

} // namespace

bool folderExists(const fs::path& folder) {
    std::error_code ec;
    return fs::is_directory(folder, ec);
}

void createFolder(const fs::path& folder) {
    std::error_code ec;
    if (fs::exists(folder, ec))
        fail("Cannot create folder", folder, "a file or folder of that name already exists");
    if (!folderExists(folder.parent_path().empty() ? fs::path(".") : folder.parent_path()))
        fail("Cannot create folder", folder, "its parent folder does not exist");
    if (!fs::create_directory(folder, ec) || ec)
        fail("Cannot create folder", folder, ec ? ec.message() : "the folder was not created");
}

std::vector<std::string> subFolders(const fs::path& folder) {
    if (!folderExists(folder)) fail("Cannot list folder", folder, "path not found");
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code typeError;
        if (it->is_directory(typeError)) names.push_back(it->path().filename().string());
    }
    if (ec) fail("Cannot list folder", folder, ec.message());
    std::sort(names.begin(), names.end());
    return names;
}

void deleteFolder(const fs::path& folder, bool force) {
    if (!folderExists(folder)) fail("Cannot delete folder", folder, "path not found");
    std::error_code ec;
    if (force) {
        // Read-only entries would stop the removal; give the owner write access first.
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, ec);
        for (fs::recursive_directory_iterator it(folder, ec), end; !ec && it != end;
             it.increment(ec)) {
            std::error_code permError;
            if (!it->is_symlink(permError))
                fs::permissions(
                    it->path(),
                    fs::perms::owner_read | fs::perms::owner_write |
                        (it->is_directory(permError) ? fs::perms::owner_exec : fs::perms::none),
                    fs::perm_options::add, permError);
        }
        ec.clear();
    }
    fs::remove_all(folder, ec);
    if (ec) fail("Cannot delete folder", folder, ec.message());
}

void renameFolder(const fs::path& from, const fs::path& to) {
    if (!folderExists(from)) fail("Cannot rename folder", from, "path not found");
    std::error_code ec;
    if (fs::exists(to, ec))
        fail("Cannot rename folder", from, "'" + to.string() + "' already exists");
    fs::rename(from, to, ec);
    if (ec) fail("Cannot rename folder", from, ec.message());
}

} // namespace velmora::files
