// The tidy-up at the start. Copies are written to a pending folder and put in place after their
// rows commit, and removed folders go after the removal commits, so the rows tell which side of
// the commit a crash fell on.
#include "links/AttachmentTidy.h"

#include "links/FileSteps.h"
#include "links/InstallPath.h"
#include "links/SafeFileName.h"
#include "platform/ado/Recordset.h"
#include "platform/files/FileSystem.h"
#include "platform/log/Log.h"

#include <exception>
#include <map>
#include <set>
#include <string>
#include <system_error>
#include <vector>

namespace velmora {

namespace fs = std::filesystem;

namespace {

// One step of the tidy-up; a failure is logged and the others still run.
template <typename Step> void tidyStep(Step&& step) {
    try {
        step();
    } catch (const std::exception& e) {
        log::error("attachments", std::string("tidying the attachment folders: ") + e.what());
    } catch (...) {
        log::error("attachments", "tidying the attachment folders: Unknown error");
    }
}

// The aliases of the Attachments rows ("folder/file"), by the folder they name.
std::map<std::string, std::set<std::string>> copiesNamedByRows(const StoreContext& state) {
    std::map<std::string, std::set<std::string>> named;
    ado::Recordset rs;
    rs.Open("select ATT_ALIAS from Attachments", state.connection());
    for (; !rs.IsEOF(); rs.MoveNext()) {
        const std::string alias = rs.Fields(0).Value().text();
        const auto slash = alias.find('/');
        if (slash == std::string::npos) continue;
        // Only names the engine writes: an alias such as "../x" must not lead out of the root.
        const std::string folder = alias.substr(0, slash);
        if (folder == mailFolderName(folder)) named[folder].insert(alias.substr(slash + 1));
    }
    return named;
}

} // namespace

void tidyAttachmentFolders(StoreContext& state) noexcept {
    tidyStep([&] {
        const fs::path root = attachmentRoot(state);
        if (!files::folderExists(root)) return;
        const FileSteps steps(state.platform);
        const auto named = copiesNamedByRows(state);
        for (const auto& entry : named) {
            const std::string& folder = entry.first;
            const std::set<std::string>& copies = entry.second;
            const fs::path pending = root / pendingFolderName(folder);
            // Its rows committed before it was put in place: finish what the commit began.
            if (files::folderExists(pending))
                tidyStep([&] {
                    if (files::folderExists(root / folder)) steps.deleteFolder(root / folder);
                    steps.renameFolder(pending, root / folder);
                });
            // A file no row names is not a copy (a re-keyed mail's files meeting older ones).
            std::vector<fs::path> strays;
            std::error_code error;
            for (const auto& file : fs::directory_iterator(root / folder, error)) {
                std::error_code typeError;
                if (file.is_regular_file(typeError) &&
                    !copies.contains(file.path().filename().string()))
                    strays.push_back(file.path());
            }
            for (const fs::path& stray : strays)
                tidyStep([&] { steps.deleteFile(stray); });
        }
        for (const std::string& name : files::subFolders(root))
            if (isPendingFolderName(name) || !named.contains(name))
                tidyStep([&] { steps.deleteFolder(root / name); });
    });
}

} // namespace velmora
