// velmora-host: the in-memory mail host with the add-in's store session, driven by a demo or by
// a script of commands (one per line) from a file or standard input.
#include "ScriptRunner.h"

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

namespace {

// The demo plays what a user does on a fresh install: contacts, a received mail, links.
const char* demoScript = R"(# Velmora demo session
echo Velmora demo: the in-memory host and the embedded link store
store init
user demo
new contact ann FullName="Ann Lee" Email1Address=ann@example.com
new contact bob FullName="Bob O'Neil" Email1Address=bob@example.com
new mail m1 Subject="Quarterly report" SenderName="Ann Lee" SenderEmailAddress=ann@example.com
find Contacts [Email1Address] = 'bob@example.com'
folder Inbox
select m1
show selection
sql select count(*) from noteTb
)";

int usage() {
    std::cerr << "usage: velmora-host [--demo | --script FILE | -]\n";
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "--demo";
    velmora::app::ScriptRunner runner(std::cout);
    try {
        if (mode == "--demo") {
            std::istringstream in(demoScript);
            return runner.run(in, true);
        }
        if (mode == "--script" && argc > 2) {
            std::ifstream in(argv[2]);
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
