// The announced file steps. Failures raise FileError (or the host's error for a copy) with the
// path, as the file-system seam words them.
#include "links/FileSteps.h"

#include "platform/files/FileSystem.h"

#include <algorithm>
#include <system_error>
#include <vector>

namespace velmora {

namespace fs = std::filesystem;

void FileSteps::announce(std::string_view step, const fs::path& path) const {
    if (platform_.fileWatch) platform_.fileWatch(step, path);
}

void FileSteps::createFolder(const fs::path& folder) const {
    announce("create", folder);
    files::createFolder(folder);
}

void FileSteps::deleteFolder(const fs::path& folder) const {
    announce("delete", folder);
    files::deleteFolder(folder, true);
}

void FileSteps::deleteFile(const fs::path& file) const {
    announce("delete", file);
    std::error_code error;
    if (!fs::remove(file, error) || error)
        throw files::FileError("Cannot delete file '" + file.string() +
                               "': " + (error ? error.message() : "path not found"));
}

void FileSteps::renameFolder(const fs::path& from, const fs::path& to) const {
    announce("rename", from);
    files::renameFolder(from, to);
}

void FileSteps::shareFiles(const fs::path& from, const fs::path& to) const {
    // In name order, so that the steps come in the same order on every run.
    std::vector<fs::path> sources;
    std::error_code error;
    for (fs::directory_iterator it(from, error), end; !error && it != end; it.increment(error)) {
        std::error_code typeError;
        if (it->is_regular_file(typeError)) sources.push_back(it->path());
    }
    if (error)
        throw files::FileError("Cannot list folder '" + from.string() + "': " + error.message());
    std::sort(sources.begin(), sources.end());
    for (const fs::path& source : sources) {
        const fs::path target = to / source.filename();
        std::error_code fileError;
        if (fs::exists(target, fileError)) continue;
        announce("copy", source);
        fs::create_hard_link(source, target, fileError);
        if (fileError) fs::copy_file(source, target, fileError);
        if (fileError)
            throw files::FileError("Cannot copy '" + source.string() + "' to '" + target.string() +
                                   "': " + fileError.message());
    }
}

void FileSteps::saveAttachment(const host::Attachment& attachment, const fs::path& file) const {
    announce("copy", file);
    attachment.SaveAsFile(file.string());
}

} // namespace velmora
