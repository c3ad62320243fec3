// Commands that change the mailbox folder from outside the host, as other programs do: the
// file is written beside its place and renamed in, as synchronisers write theirs.
#include "MailboxCommands.h"

#include "HostCommands.h"
#include "platform/mailbox/ItemFiles.h"
#include "UsageError.h"

#include <unistd.h>

#include <fstream>

namespace velmora::app {

namespace fs = std::filesystem;

void MailboxCommands::install(CommandTable& table) {
    table.add("mailbox", "mailbox drop FILE FOLDER", 4, [this](const Words& w) {
        if (w[1] != "drop") throw UsageError("usage: mailbox drop FILE FOLDER");
        drop(w);
    });
}

// A mail file lands in the Maildir folder's new/ as a delivered mail; an .ics or .vcf file in
// the folder's directory under its own name, replacing the file of that name if there is one.
void MailboxCommands::drop(const Words& w) {
    if (!ctx_.mailbox)
        throw std::runtime_error("The host keeps no mailbox folder: start it with --mailbox DIR");
    const fs::path source =
        fs::path(w[2]).is_absolute() ? fs::path(w[2]) : ctx_.scriptFolder / w[2];
    const std::string bytes = mailbox::readItemFile(source, "dropped");
    const auto folder = HostCommands(ctx_).folderByPath(w.rest(3));
    const auto files = ctx_.mailbox->filesOf(*folder);
    if (!files) throw std::runtime_error("The folder " + w.rest(3) + " has no files");
    if (!files->maildir) {
        mailbox::writeItemFile(files->directory / source.filename(), bytes, "dropped");
    } else {
        // A mail goes through the folder's tmp/, as Maildir wants of every writer.
        const std::string unique =
            "dropped." + std::to_string(::getpid()) + "." + std::to_string(++dropped_) + ".script";
        const fs::path staging = files->directory / "tmp" / unique;
        {
            std::ofstream out(staging, std::ios::binary);
            out << bytes;
            if (!out.flush()) throw std::runtime_error("Cannot write " + staging.string());
        }
        fs::rename(staging, files->directory / "new" / unique);
    }
    ctx_.out << "dropped " << source.filename().string() << " into " << w.rest(3) << "\n";
}

} // namespace velmora::app
