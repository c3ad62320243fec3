// Benchmark of the mailbox host on a large generated mailbox: opening it and reading every folder
// from a warm index beside listing its file names, a contact search beside the in-memory host's.
#include "platform/host/InMemoryHost.h"
#include "platform/mailbox/MailboxHost.h"
#include "platform/mailbox/SampleMailbox.h"
#include "support/TestSession.h"

#include "ContactSearch.h"
#include "RatioReporter.h"

#include <benchmark/benchmark.h>

#include <malloc.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace velmora;
namespace fs = std::filesystem;

// Matches the contacts numbered ...999: ten in 10,000, none below 1,000.
const std::string needle = "999@";
const char* const sizeFlag = "--mailbox_size=";

// The process's resident size in MB.
double residentMegabytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return static_cast<double>(resident) * static_cast<double>(::sysconf(_SC_PAGESIZE)) / 1048576.0;
}

// The names of dir's files, and of the files below it when deep.
void addFiles(const fs::path& dir, bool deep, std::vector<std::string>& names) {
    for (const auto& entry : fs::directory_iterator(dir)) {
        if (entry.is_regular_file())
            names.push_back(entry.path().filename().string());
        else if (deep && entry.is_directory())
            addFiles(entry.path(), true, names);
    }
}

// The file names a plain program finds: each Maildir folder's cur/ and new/, and every file
// below the item directories beside Mail/.
void listNames(const fs::path& root, std::vector<std::string>& names) {
    names.clear();
    std::vector<fs::path> maildirs = {root / "Mail"};
    for (const auto& entry : fs::directory_iterator(root / "Mail"))
        if (entry.is_directory() && entry.path().filename().string().front() == '.')
            maildirs.push_back(entry.path());
    for (const fs::path& dir : maildirs) {
        addFiles(dir / "cur", false, names);
        addFiles(dir / "new", false, names);
    }
    for (const auto& entry : fs::directory_iterator(root)) {
        const std::string name = entry.path().filename().string();
        if (entry.is_directory() && name.front() != '.' && name != "Mail")
            addFiles(entry.path(), true, names);
    }
}

// One run of the host over the mailbox.
struct OpenMailbox {
    explicit OpenMailbox(const fs::path& root) : host(false, false), mailbox(host, root) {}
    host::InMemoryHost host;
    mailbox::MailboxHost mailbox;
};

// The mailbox written once, opened and read once so that its index is warm; the memory that
// took goes back to the system so that the resident size shows what an opening holds.
struct MailboxOnDisk {
    explicit MailboxOnDisk(mailbox::BenchMailboxSize size) {
        mailbox::writeBenchMailbox(temp.path(), size);
        OpenMailbox first(temp.path());
        first.mailbox.loadAll();
        files = first.mailbox.opening().listed;
        if (first.mailbox.opening().items != files)
            throw std::runtime_error("the host read " +
                                     std::to_string(first.mailbox.opening().items) + " of " +
                                     std::to_string(files) + " files");
    }
    testing::TempDir temp;
    std::size_t files = 0;
};

// The contact search on two sessions: one whose host keeps its items in the mailbox, and one
// whose in-memory host holds the same names, addresses and companies.
struct SearchHosts {
    explicit SearchHosts(const fs::path& root)
        : onMailbox(testing::SessionOptions{false, "alice", true}), mailbox(onMailbox.host, root),
          inMemory(testing::SessionOptions{false, "alice", true}) {
        mailbox.loadAll();
        const auto contacts = onMailbox.host.application()
                                  .GetNamespace("MAPI")
                                  .GetDefaultFolder(host::olFolderContacts)
                                  ->Items();
        const int count = contacts->Count();
        for (int i = 1; i <= count; ++i) {
            const host::ItemPtr from = contacts->Item(i);
            const host::ItemPtr copy = inMemory.host.application().CreateItem(host::olContactItem);
            for (const char* property : {"FullName", "Email1Address", "CompanyName"})
                copy->Set(property, from->Text(property));
            copy->Save();
            if (from->Text("Email1Address").find(needle) != std::string::npos) ++expected;
        }
        mailboxSearch.emplace(onMailbox, needle, ContactSearch::emailField);
        inMemorySearch.emplace(inMemory, needle, ContactSearch::emailField);
    }
    testing::TestSession onMailbox;
    mailbox::MailboxHost mailbox;
    testing::TestSession inMemory;
    std::optional<ContactSearch> mailboxSearch;
    std::optional<ContactSearch> inMemorySearch;
    int expected = 0;
};

// Environments made by the first benchmark that needs them; main removes them at the end.
class Environments {
  public:
    explicit Environments(mailbox::BenchMailboxSize size) : size_(size) {}
    MailboxOnDisk& disk() {
        if (!disk_) disk_ = std::make_unique<MailboxOnDisk>(size_);
        return *disk_;
    }
    SearchHosts& search() {
        if (!search_) search_ = std::make_unique<SearchHosts>(disk().temp.path());
        return *search_;
    }
    void reset() {
        search_.reset();
        disk_.reset();
    }

  private:
    mailbox::BenchMailboxSize size_;
    std::unique_ptr<MailboxOnDisk> disk_;
    std::unique_ptr<SearchHosts> search_;
};

// An opening of the warm mailbox, timed with loadAll when loaded; the host goes untimed.
void timeOpening(benchmark::State& state, MailboxOnDisk& disk, bool loaded) {
    for (auto _ : state) {
        auto open = std::make_unique<OpenMailbox>(disk.temp.path());
        if (loaded) open->mailbox.loadAll();
        state.PauseTiming();
        const mailbox::MailboxHost::Opening& opening = open->mailbox.opening();
        const bool warm = opening.listed == disk.files && opening.parsed == 0 &&
                          (!loaded || opening.fromIndex == disk.files);
        open.reset();
        state.ResumeTiming();
        if (!warm) {
            state.SkipWithError("the opening did not find every file in the warm index");
            break;
        }
    }
    state.counters["files"] = static_cast<double>(disk.files);
}

void timeListing(benchmark::State& state, MailboxOnDisk& disk) {
    std::vector<std::string> names;
    for (auto _ : state) {
        listNames(disk.temp.path(), names);
        benchmark::DoNotOptimize(names.data());
    }
    if (names.size() != disk.files) state.SkipWithError("the listing missed files");
}

void timeSearch(benchmark::State& state, SearchHosts& hosts, ContactSearch& search) {
    int found = 0;
    for (auto _ : state)
        found = search.run();
    if (hosts.expected == 0) state.SkipWithError("the mailbox has too few contacts to match");
    if (found != hosts.expected) state.SkipWithError("the search missed contacts");
}

template <typename Body>
void add(const std::string& name, const std::shared_ptr<Environments>& env, Body body) {
    benchmark::RegisterBenchmark(name.c_str(), [env, body](benchmark::State& state) {
        body(state, *env);
    })->Unit(benchmark::kMicrosecond);
}

// The resident size first, before any other benchmark has held a host; then the openings, each
// twice its baseline's name so that the reporter gives each its own ratio, then the search.
void registerAll(const std::shared_ptr<Environments>& env, mailbox::BenchMailboxSize size) {
    const std::string mails = std::to_string(size.mails);
    benchmark::RegisterBenchmark(("Resident/resident:" + mails).c_str(),
                                 [env](benchmark::State& state) {
                                     MailboxOnDisk& disk = env->disk();
                                     malloc_trim(0);
                                     const double before = residentMegabytes();
                                     double after = before;
                                     for (auto _ : state) {
                                         OpenMailbox open(disk.temp.path());
                                         open.mailbox.loadAll();
                                         after = residentMegabytes();
                                     }
                                     state.counters["before_MB"] = before;
                                     state.counters["after_MB"] = after;
                                     state.counters["grown_MB"] = after - before;
                                 })
        ->Unit(benchmark::kMicrosecond)
        ->Iterations(1);
    add("MailboxOpen/open:" + mails, env,
        [](benchmark::State& state, Environments& e) { timeOpening(state, e.disk(), false); });
    add("ListNames/open:" + mails, env,
        [](benchmark::State& state, Environments& e) { timeListing(state, e.disk()); });
    add("MailboxOpenLoadAll/loadAll:" + mails, env,
        [](benchmark::State& state, Environments& e) { timeOpening(state, e.disk(), true); });
    add("ListNames/loadAll:" + mails, env,
        [](benchmark::State& state, Environments& e) { timeListing(state, e.disk()); });
    const std::string contacts = "contains:" + std::to_string(size.contacts);
    add("MailboxSearch/" + contacts, env, [](benchmark::State& state, Environments& e) {
        timeSearch(state, e.search(), *e.search().mailboxSearch);
    });
    add("InMemorySearch/" + contacts, env, [](benchmark::State& state, Environments& e) {
        timeSearch(state, e.search(), *e.search().inMemorySearch);
    });
}

// "--mailbox_size=MAILS,CONTACTS,APPOINTMENTS" among the arguments, taken out of them.
std::optional<mailbox::BenchMailboxSize> takeSize(std::vector<char*>& args) {
    for (auto arg = args.begin(); arg != args.end(); ++arg) {
        const std::string text = *arg;
        if (text.rfind(sizeFlag, 0) != 0) continue;
        std::istringstream in(text.substr(std::string(sizeFlag).size()));
        mailbox::BenchMailboxSize size{};
        char comma1 = 0;
        char comma2 = 0;
        if (!(in >> size.mails >> comma1 >> size.contacts >> comma2 >> size.appointments) ||
            comma1 != ',' || comma2 != ',' || !in.eof() || size.mails < 0 || size.contacts < 0 ||
            size.appointments < 0)
            throw std::invalid_argument(text + " is not " + sizeFlag +
                                        "MAILS,CONTACTS,APPOINTMENTS");
        args.erase(arg);
        return size;
    }
    return std::nullopt;
}

} // namespace

// The full size takes some 15 s to write, about as long to open and read the first time, and
// some hundreds of MB; --mailbox_size=10000,1000,1000 makes a quick run.
int main(int argc, char** argv) {
    std::vector<char*> args(argv, argv + argc);
    mailbox::BenchMailboxSize size{100000, 10000, 10000};
    try {
        size = takeSize(args).value_or(size);
    } catch (const std::invalid_argument& e) {
        std::fprintf(stderr, "bench_mailbox_open : %s\n", e.what());
        return 2;
    }
    auto env = std::make_shared<Environments>(size);
    registerAll(env, size);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
    RatioReporter reporter("Mailbox", "mailbox", "baseline");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    env->reset();
    benchmark::Shutdown();
    return 0;
}
