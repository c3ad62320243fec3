// velmora-host: the in-memory mail host with the add-in connected to it, driven by a demo or by
// a script of commands (one per line) from a file or standard input.
#include "ScriptRunner.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

// The demo plays what a user does on a fresh install, printing what the user would see.
const char* demoScript = R"demo(# Velmora demo session
echo == The companion program has synchronised once: the store knows the user
store init
user demo
registry set Language EN
echo == The user's mailbox
new contact ann FullName="Ann Lee" Email1Address=ann@example.com
new contact bob FullName="Bob O'Neil" Email1Address=bob@example.com
receive m1 "Quarterly report" "Ann Lee" ann@example.com To=bob@example.com
attach-file m1 report.final.pdf "the figures"
new appointment a1 Subject="Budget review" Start="2026-12-08 10:00:00" End="2026-12-08 11:00:00"
new note n1 Body="Call Ann about the budget"
new task t1 Subject="Send the final figures"
echo == The host loads the add-in
connect
folder Inbox
select m1
echo == The user links the appointment and the note to Ann in the host: the add-in follows
link a1 ann
link n1 ann
sql select type, Regarding, Creator, PrivateAccess from noteTb order by type, OutlookContactID
sql select eventname, fromdate from CalendarHistory
sql select regarding, RefCount from NoteHistory
echo == "Share&Attach..." on the received mail: its sender and recipients are proposed
folder Inbox
select m1
button VelmoraShareAndAttach
describe ListViewLeft
pick ListViewLeft #1
click cmdMoveFields1
pick ListViewLeft #3
click cmdMoveFields1
click includeMailAttachment1
click cmdMailtoContact1
expect no-message
sql select Regarding, Creator, bAttachment from noteTb where type=2 order by OutlookContactID
sql select subject, att_count from EMailHistory
sql select ATT_NAME, ATT_CONTENT_TYPE from Attachments
close
echo == A new mail sent with "Attach" pressed opens the dialog for it
compose m2 Subject="Next steps" To=bob@example.com
button VelmoraAttach m2
send m2
pick ListViewLeft #1
click cmdMoveFields1
click cmdMailtoContact1
close
sql select Regarding, OutlookAttachID like 'OutlookID%' from noteTb where Regarding='Next steps'
echo == "Sync Velmora..." starts the companion; while its window is open nothing is linked
button VelmoraSyncVelmora
set m1 Subject="Quarterly report (final)"
sql select count(*) from noteTb where Regarding='Quarterly report (final)'
companion close
echo == The user closes the host
terminate
)demo";

int usage() {
    std::cerr << "usage: velmora-host [--demo | --script FILE | -]\n";
    return 2;
}

// The demo keeps away from the user's own link store and settings unless told where to work.
// Its install path is a fresh folder too (attachment copies land there), holding a link to the
// companion program installed beside this one. Returns that folder.
std::filesystem::path demoPlace(const std::filesystem::path& programFolder) {
    auto folder = std::filesystem::temp_directory_path() / "velmora-demo";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder);
    std::error_code ignored;
    std::filesystem::create_symlink(programFolder / "Tidewell", folder / "Tidewell", ignored);
    if (!std::getenv("VELMORA_STORE"))
        setenv("VELMORA_STORE", (folder / "linkstore.db").c_str(), 1);
    if (!std::getenv("VELMORA_REGISTRY"))
        setenv("VELMORA_REGISTRY", (folder / "registry").c_str(), 1);
    std::cout << "store: " << std::getenv("VELMORA_STORE")
              << "\nregistry: " << std::getenv("VELMORA_REGISTRY") << "\n";
    return folder;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "--demo";
    try {
        if (mode == "--demo") {
            // The companion program is installed beside this program.
            std::error_code error;
            const auto here = std::filesystem::read_symlink("/proc/self/exe", error).parent_path();
            const auto install = demoPlace(here);
            velmora::app::ScriptRunner runner(std::cout);
            std::istringstream in("registry set path \"" + install.string() + "\"\n" + demoScript);
            return runner.run(in, true);
        }
        velmora::app::ScriptRunner runner(std::cout);
        if (mode == "--script" && argc > 2) {
            // A folder opens as a stream that reads nothing: it would pass as an empty script.
            std::ifstream in(argv[2]);
            if (std::filesystem::is_directory(argv[2])) {
                std::cerr << "velmora-host: " << argv[2] << " is a folder, not a script\n";
                return 1;
            }
            if (!in) {
                std::cerr << "velmora-host: cannot read " << argv[2] << "\n";
                return 1;
            }
            return runner.run(in, false);
        }
        if (mode == "-") return runner.run(std::cin, false);
    } catch (const std::exception& e) {
        std::cerr << "velmora-host: " << e.what() << "\n";
        return 1;
    }
    return usage();
}
