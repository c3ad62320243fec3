// Benchmark of relinking a mail to 20 contacts as the link store grows from a thousand to a
// million rows, on each engine: the time at each size beside the same engine's time at 1,000.
#include "links/AttachEmail.h"
#include "support/TestSession.h"

#include "BenchSupport.h"
#include "LinkedMail.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace velmora;

constexpr int contactsPerMail = 20;
const std::vector<long> sizes = {1000, 10000, 100000, 1000000};

// One store of `rows` other mails' contact links (four per mail, over 5,000 contacts), written by
// the engine itself in one statement, and a mail linked to 20 contacts in the host.
struct Environment {
    testing::TestSession session;
    std::unique_ptr<AttachEmail> engine;
    host::ItemPtr mail;

    Environment(long rows, const std::optional<std::string>& server)
        : session(testing::SessionOptions{}, server) {
        // A recursive count both engines run: no driver round trip per row.
        session.exec("insert into noteTb (OutlookAttachID, OutlookContactID, contactID, "
                     "Attached_ID, type, Regarding, DateCreated, DateEdit, Creator, "
                     "PrivateAccess, MakeDelete, bAttachment) with recursive n(i) as (select 0 "
                     "union all select i + 1 from n where i < " +
                     std::to_string(rows - 1) +
                     ") select 'FILL-MAIL-' || (i / 4), 'FILL-CONTACT-' || (i % 5000), '-1', "
                     "'-1', 2, 'Filler subject', '2020-01-02 03:04:05', '2020-01-02 03:04:05', "
                     "'alice', 1, 0, 0 from n");
        session.exec("analyze"); // both engines plan with the table's real size

        std::vector<std::string> contacts;
        mail = linkedMail(session.host.application(), contactsPerMail, contacts);
        engine = std::make_unique<AttachEmail>(session.state);
    }
};

using Shared = std::shared_ptr<std::unique_ptr<Environment>>;

Shared registerSize(const std::string& engineName, const std::optional<std::string>& server,
                    long rows) {
    auto env = std::make_shared<std::unique_ptr<Environment>>();
    benchmark::RegisterBenchmark(
        ("emailToContact/" + engineName + ":" + std::to_string(rows)).c_str(),
        [env, server, rows](benchmark::State& state) {
            if (!*env) *env = std::make_unique<Environment>(rows, server);
            Environment& e = **env;
            for (auto _ : state)
                e.engine->emailToContact(*e.mail, nullptr, false, false, false, false);
            if (e.session.count("select * from noteTb where OutlookAttachID='" + e.mail->EntryID() +
                                "'") != contactsPerMail)
                state.SkipWithError("the relink lost contact rows");
        })
        ->Unit(benchmark::kMicrosecond);
    return env;
}

// After the usual table: each engine's time at every size and its ratio to the same engine's
// time at the smallest size.
class ScalingReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            const std::string name = run.benchmark_name();
            const auto slash = name.find('/');
            const auto colon = name.rfind(':');
            if (slash == std::string::npos || colon == std::string::npos) continue;
            times_[name.substr(slash + 1, colon - slash - 1)][std::stol(name.substr(colon + 1))] =
                run.GetAdjustedRealTime();
        }
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const auto& [engine, bySize] : times_) {
            const double base = bySize.begin()->second;
            for (const auto& [rows, time] : bySize)
                std::printf("%-10s %8ld rows: %9.1f us, ratio to %ld rows %.2f\n", engine.c_str(),
                            rows, time, bySize.begin()->first, base > 0 ? time / base : 0);
        }
    }

  private:
    std::map<std::string, std::map<long, double>> times_;
};

} // namespace

// SQLite always; PostgreSQL too when VELMORA_BENCH_DSN names its data source (the stores are
// schemas of their own there). --without_1m leaves the largest size out.
int main(int argc, char** argv) {
    bool without = false;
    std::vector<char*> args = withoutFlag(argc, argv, "--without_1m", without);
    int count = static_cast<int>(args.size());
    std::vector<std::pair<std::string, std::optional<std::string>>> engines = {
        {"sqlite", std::string()}};
    if (const char* dsn = std::getenv("VELMORA_BENCH_DSN"); dsn && *dsn)
        engines.emplace_back("postgres", std::string(dsn));
    std::vector<Shared> stores;
    for (const auto& [name, server] : engines)
        for (long rows : sizes)
            if (!without || rows < 1000000) stores.push_back(registerSize(name, server, rows));
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
    ScalingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (auto& store : stores)
        store->reset();
    benchmark::Shutdown();
    return 0;
}
