// The fault sweep: every host member an operation calls is made to fail in turn, and after each
// run the store must be consistent and the failure shown to the user or written to the log.
#include "links/InstallPath.h"
#include "links/LinkStoreCheck.h"
#include "platform/host/HostCore.h"
#include "platform/log/Log.h"
#include "ScriptRunner.h"
#include "store/StoreSession.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace velmora::app {
namespace {

namespace fs = std::filesystem;

const fs::path sourceFolder = VELMORA_FAULTS_DIR;

std::string readFile(const fs::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// An operation script: what it needs beyond the common set-up, then the user's actions after
// the line "# operation". Only the actions run with a fault set.
struct Operation {
    std::string name;
    std::string preparation;
    std::string actions;
};

std::vector<Operation> operations() {
    const std::string setup = readFile(sourceFolder / "setup.vhs");
    std::vector<Operation> found;
    for (const auto& entry : fs::directory_iterator(sourceFolder / "operations")) {
        const std::string text = readFile(entry.path());
        const auto marker = text.find("# operation\n");
        if (marker == std::string::npos) continue;
        found.push_back({entry.path().stem().string(), setup + text.substr(0, marker),
                         text.substr(marker + 12)});
    }
    std::sort(found.begin(), found.end(),
              [](const Operation& a, const Operation& b) { return a.name < b.name; });
    return found;
}

// A warning or error the add-in wrote; the script's own failing lines (a dialog that did not
// open, say) are logged under the script's name and are not the add-in speaking.
bool reportedInLog(const std::string& log, const std::string& script) {
    std::istringstream lines(log);
    for (std::string line; std::getline(lines, line);) {
        for (const char* level : {" warning: ", " error: "}) {
            const auto at = line.find(level);
            if (at != std::string::npos && line.compare(at + std::string_view(level).size(),
                                                        script.size() + 1, script + ":") != 0)
                return true;
        }
    }
    return false;
}

struct Outcome {
    int hits = 0;
    bool shown = false;
    bool logged = false;
    std::vector<std::string> problems;
    std::map<std::string, int> members; // what the operation called, and how often
};

// Which call of a member fails: every one (times -1), or only the one after `passing` calls.
struct Fault {
    std::string member;
    int passing = 0;
    int times = -1;
};

// One run in a folder of its own: the preparation must succeed; the actions run with the fault
// set (or, without one, recording every member called), going on after a failing line as a
// user would.
Outcome runOperation(const Operation& op, const fs::path& folder, const Fault& fault) {
    const std::string& member = fault.member;
    fs::remove_all(folder);
    fs::create_directories(folder);
    for (const char* name : {"HOME", "XDG_STATE_HOME", "XDG_DATA_HOME", "XDG_CONFIG_HOME"})
        ::setenv(name, folder.c_str(), 1);
    ::setenv("VELMORA_STORE", (folder / "store.db").c_str(), 1);
    ::setenv("VELMORA_REGISTRY", (folder / "registry").c_str(), 1);
    ::setenv("VELMORA_LOG_FILE", (folder / "velmora.log").c_str(), 1);
    ::setenv("VELMORA_LOG", "warn", 1);

    Outcome outcome;
    std::ostringstream out;
    std::ostringstream errors;
    ScriptRunner runner(out, errors);
    ScriptContext& ctx = runner.context();
    {
        std::istringstream text("registry set path \"" + folder.string() + "\"\n" + op.preparation);
        StreamLineReader lines(text);
        const int code = runner.run(lines, {op.name + " (preparation)", false, false});
        if (code != 0) {
            ADD_FAILURE() << op.name << ": the preparation failed\n" << errors.str();
            return outcome;
        }
    }
    const std::size_t boxesBefore = ctx.messages.shown.size();
    log::open("fault-sweep", false);
    if (member.empty())
        ctx.host.faults().record(true);
    else
        ctx.host.faults().fail(member, "Injected fault in " + member, fault.times, fault.passing);
    {
        std::istringstream text(op.actions);
        StreamLineReader lines(text);
        runner.run(lines, {op.name, true, false});
    }
    if (!member.empty()) outcome.hits = ctx.host.faultHits(member);
    outcome.members = ctx.host.faults().recorded();
    ctx.host.faults().record(false);
    ctx.host.clearFaults();
    log::close();

    outcome.shown = ctx.messages.shown.size() > boxesBefore;
    const std::string log = readFile(folder / "velmora.log");
    outcome.logged = reportedInLog(log, op.name);
    if (member.empty() && (outcome.shown || outcome.logged))
        ADD_FAILURE() << op.name << ": without a fault the operation reported a failure\n"
                      << log << errors.str();

    ScriptContext::OwnCalls own(ctx);
    if (!ctx.state.storeConnection) ctx.state.storeConnection = openStore(ctx.state);
    outcome.problems = findInconsistencies(ctx.state.connection(), attachmentRoot(ctx.state));
    return outcome;
}

// Every member fails on every call, and on its own at each of its first three calls and its
// last: a failure half-way through a loop is where rows go missing.
std::vector<Fault> faultsOf(const std::map<std::string, int>& members) {
    std::vector<Fault> faults;
    for (const auto& [member, calls] : members) {
        faults.push_back({member, 0, -1});
        if (calls < 2) continue;
        for (int call = 1; call <= calls; ++call)
            if (call <= 3 || call == calls) faults.push_back({member, call - 1, 1});
    }
    return faults;
}

TEST(FaultSweep, EveryHostMemberFailingLeavesAConsistentStoreAndSaysSo) {
    // Thousands of small stores: in memory-backed /dev/shm where there is one, as no disk is
    // needed to tell a consistent store from another.
    const fs::path base =
        fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    const fs::path work = base / ("velmora-fault-sweep-" + std::to_string(::getpid()));
    int runs = 0, hit = 0, reported = 0, logged = 0, silent = 0, inconsistent = 0;
    std::ostringstream table;
    for (const Operation& op : operations()) {
        const Outcome baseline = runOperation(op, work / op.name, {});
        EXPECT_TRUE(baseline.problems.empty())
            << op.name << " without a fault: " << ::testing::PrintToString(baseline.problems);
        int opSilent = 0, opInconsistent = 0;
        for (const Fault& fault : faultsOf(baseline.members)) {
            const Outcome o = runOperation(op, work / op.name, fault);
            ++runs;
            if (o.hits == 0) continue;
            ++hit;
            const std::string what =
                fault.member + (fault.times < 0
                                    ? " (every call)"
                                    : " (call " + std::to_string(fault.passing + 1) + ")");
            if (o.shown)
                ++reported;
            else if (o.logged)
                ++logged;
            else {
                ++opSilent;
                ADD_FAILURE() << op.name << ": " << what << " failed silently";
            }
            if (!o.problems.empty()) {
                ++opInconsistent;
                ADD_FAILURE() << op.name << ": " << what << " left the store inconsistent: "
                              << ::testing::PrintToString(o.problems);
            }
        }
        silent += opSilent;
        inconsistent += opInconsistent;
        table << "  " << op.name << ": " << baseline.members.size() << " members, " << opSilent
              << " silent, " << opInconsistent << " inconsistent\n";
    }
    fs::remove_all(work);
    std::cout << "fault sweep: " << runs << " runs, " << hit << " faults raised, " << reported
              << " reported, " << logged << " logged, " << silent << " silent, " << inconsistent
              << " inconsistent stores\n"
              << table.str();
    EXPECT_GT(hit, 0);
}

} // namespace
} // namespace velmora::app
