// Item events through the event hub: a changed mail the filter ignores (the companion has just
// written to the host) and a changed linked mail that is relinked, at two link store sizes.
#include "addin/AddInDesigner1.h"
#include "links/AttachEmail.h"
#include "store/readRegister.h"
#include "store/StoreSession.h"
#include "support/TestSession.h"

#include <benchmark/benchmark.h>

#include <map>
#include <memory>
#include <string>

namespace {

using namespace velmora;

constexpr int contactsPerMail = 5;

// Other mails' contact links, so that every lookup runs against a store of realistic size.
void fill(testing::TestSession& session, long rows) {
    session.exec("insert into noteTb (OutlookAttachID, OutlookContactID, contactID, Attached_ID, "
                 "type, Regarding, DateCreated, DateEdit, Creator, PrivateAccess, MakeDelete, "
                 "bAttachment) with recursive n(i) as (select 0 union all select i + 1 from n "
                 "where i < " +
                 std::to_string(rows - 1) +
                 ") select 'FILL-MAIL-' || (i / 4), 'FILL-CONTACT-' || (i % 5000), '-1', '-1', "
                 "2, 'Filler', '2020-01-02 03:04:05', '2020-01-02 03:04:05', 'alice', 1, 0, 0 "
                 "from n");
}

// One session per store size; "connected" says whether the add-in listens to the host.
struct Environment {
    testing::TestSession session;
    std::unique_ptr<AddInDesigner1> addin;
    host::ItemPtr mail;

    explicit Environment(long rows) {
        fill(session, rows);
        auto& app = session.host.application();
        mail = session.host.receiveMail("Weekly report", "Ann Lee", "ann@example.com");
        for (int i = 0; i < contactsPerMail; ++i) {
            auto contact = app.CreateItem(host::olContactItem);
            contact->Set("FullName", "Contact " + std::to_string(i));
            contact->Save();
            mail->Links().Add(contact);
        }
        addin = std::make_unique<AddInDesigner1>(session.state);
        addin->AddinInstance_OnConnection(app);
    }
    void historyValue(int value) {
        readRegister(session.registry).SetKeyValue("HistoryValue", value);
    }
    long links() {
        return session.count("select * from noteTb where OutlookAttachID='" + mail->EntryID() +
                             "'");
    }
};

// The sessions, built on first use and dropped by main once the runs are over.
using Environments = std::map<long, std::unique_ptr<Environment>>;

Environment& environment(Environments& all, long rows) {
    auto& held = all[rows];
    if (!held) held = std::make_unique<Environment>(rows);
    return *held;
}

// An event the filter drops: "HistoryValue" is above 0, as after the companion wrote.
void ignoredEvent(benchmark::State& state, Environments& all) {
    Environment& e = environment(all, state.range(0));
    e.historyValue(5);
    for (auto _ : state)
        e.mail->Save();
    e.historyValue(0);
    if (!e.session.messages.shown.empty()) state.SkipWithError("the hub reported an error");
}

// A linked mail changed by the user: the hub relinks it to its contacts.
void relinkedMail(benchmark::State& state, Environments& all) {
    Environment& e = environment(all, state.range(0));
    e.historyValue(0);
    for (auto _ : state)
        e.mail->Save();
    if (e.links() != contactsPerMail) state.SkipWithError("the relink lost contact rows");
}

// Baselines: the host raising the event with nobody but the engine, called directly, behind it.
void hostSaveOnly(benchmark::State& state) {
    testing::TestSession session;
    auto mail = session.host.receiveMail("Weekly report", "Ann Lee", "ann@example.com");
    for (auto _ : state)
        mail->Save();
}

void engineOnly(benchmark::State& state, Environments& all) {
    Environment& e = environment(all, state.range(0));
    // The hub stops listening; the engine is called directly on a store opened again.
    e.addin->AddinInstance_Terminate();
    e.session.state.storeConnection = openStore(e.session.state);
    AttachEmail engine(e.session.state);
    for (auto _ : state) {
        e.mail->Save();
        engine.emailToContact(*e.mail, nullptr, false, false, false, false);
    }
    e.session.state.storeConnection.reset();
    e.addin->AddinInstance_OnConnection(e.session.host.application());
}

// Prints each hub figure as a ratio to its baseline, and the events per second.
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            times_[run.benchmark_name()] = run.GetAdjustedRealTime();
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        const double save = times_["hostSaveOnly"];
        for (const char* size : {"1000", "1000000"}) {
            const std::string s = size;
            const double ignored = times_["ignoredEvent/" + s];
            const double relinked = times_["relinkedMail/" + s];
            const double direct = times_["engineOnly/" + s];
            if (save <= 0 || direct <= 0 || ignored <= 0 || relinked <= 0) continue;
            std::printf("noteTb rows %-8s ignored event %.1f us (%.0f/s, %.2fx a bare save); "
                        "relinked mail %.1f us (%.0f/s, %.2fx save + engine called directly)\n",
                        size, ignored, 1e6 / ignored, ignored / save, relinked, 1e6 / relinked,
                        relinked / direct);
        }
    }

  private:
    std::map<std::string, double> times_;
};

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    Environments all;
    benchmark::RegisterBenchmark("hostSaveOnly", hostSaveOnly)->Unit(benchmark::kMicrosecond);
    using Run = void (*)(benchmark::State&, Environments&);
    for (const auto& [name, run] : {std::pair<const char*, Run>{"ignoredEvent", ignoredEvent},
                                    {"engineOnly", engineOnly},
                                    {"relinkedMail", relinkedMail}})
        // Clang 15 cannot capture a structured binding; an init-capture copies it.
        benchmark::RegisterBenchmark(name,
                                     [body = run, &all](benchmark::State& s) { body(s, all); })
            ->Arg(1000)
            ->Arg(1000000)
            ->Unit(benchmark::kMicrosecond);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    all.clear();
    benchmark::Shutdown();
    return 0;
}
