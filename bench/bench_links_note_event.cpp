// Benchmark of relinking a note and an appointment against file stores pre-filled with 1 thousand,
// 100 thousand and (with --with-1m) 1 million noteTb rows, beside the same statements run raw.
#include "links/AttachEvent.h"
#include "links/attachNote.h"
#include "platform/host/DateText.h"
#include "platform/text/QuotedText.h"
#include "support/TestSession.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>
#include <time.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace velmora;
using Clock = std::chrono::steady_clock;

// The sqlite3 API without the add-in's layers: each text prepared, stepped and finalized, as the
// store layer does, so the ratio shows what the engine, the row sets and the host add.
class RawStore {
  public:
    explicit RawStore(const std::string& path) {
        if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
            throw std::runtime_error("Cannot open " + path + ": " + sqlite3_errmsg(db_));
        sqlite3_busy_timeout(db_, 5000);
    }
    ~RawStore() { sqlite3_close_v2(db_); }
    RawStore(const RawStore&) = delete;
    RawStore& operator=(const RawStore&) = delete;

    // Runs a statement to its end; returns the first column of its last row.
    sqlite3_int64 run(const std::string& sql, const std::vector<std::string>& texts = {},
                      sqlite3_int64 rowid = -1) {
        sqlite3_stmt* s = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &s, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string(sqlite3_errmsg(db_)) + " in " + sql);
        int i = 1;
        for (const std::string& t : texts)
            sqlite3_bind_text(s, i++, t.c_str(), static_cast<int>(t.size()), SQLITE_STATIC);
        if (rowid >= 0) sqlite3_bind_int64(s, i, rowid);
        sqlite3_int64 first = 0;
        int rc;
        while ((rc = sqlite3_step(s)) == SQLITE_ROW)
            first = sqlite3_column_int64(s, 0);
        sqlite3_finalize(s);
        if (rc != SQLITE_DONE)
            throw std::runtime_error(std::string(sqlite3_errmsg(db_)) + " in " + sql);
        return first;
    }

    // One prepared insert in one transaction: the fill the other stores start from.
    void fill(long rows) {
        run("begin");
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db_,
                           "insert into noteTb (OutlookAttachID, OutlookContactID, contactID, "
                           "Attached_ID, type, Regarding, DateCreated, DateEdit, Creator, "
                           "PrivateAccess, MakeDelete, bAttachment) values "
                           "(?,?,?,?,?,?,'2026-01-05 10:00:00','2026-01-06 11:00:00',?,?,?,0)",
                           -1, &s, nullptr);
        for (long i = 0; i < rows; ++i) {
            const std::string item = "FILL-ITEM-" + std::to_string(i / 3);
            const std::string contact = "FILL-CONTACT-" + std::to_string(i % 5000);
            const std::string regarding = "Filled link " + std::to_string(i);
            const std::string creator = i % 2 ? "alice" : "bob";
            sqlite3_bind_text(s, 1, item.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(s, 2, contact.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(s, 3, ("bob_" + std::to_string(i % 5000)).c_str(), -1,
                              SQLITE_TRANSIENT);
            sqlite3_bind_text(s, 4, "-1", -1, SQLITE_STATIC);
            sqlite3_bind_int(s, 5, i % 3 == 0 ? 1 : (i % 3 == 1 ? 2 : 4));
            sqlite3_bind_text(s, 6, regarding.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(s, 7, creator.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_int(s, 8, static_cast<int>(i % 2));
            sqlite3_bind_int(s, 9, i % 7 == 0 ? 1 : 0);
            if (sqlite3_step(s) != SQLITE_DONE)
                throw std::runtime_error(std::string("fill failed: ") + sqlite3_errmsg(db_));
            sqlite3_reset(s);
        }
        sqlite3_finalize(s);
        run("commit");
    }

  private:
    sqlite3* db_ = nullptr;
};

// Short, for the many statements below.
std::string q(const std::string& v) {
    return text::sqlLiteral(v);
}

// A store of one size with a note and an appointment, each linked to two contacts.
struct FilledStore {
    explicit FilledStore(long rows) : raw(session.storeFile().string()) {
        raw.fill(rows);
        auto& app = session.host.application();
        for (const char* name : {"Ann Lee", "Bob Roe"}) {
            host::ItemPtr c = app.CreateItem(host::olContactItem);
            c->Set("FullName", std::string(name));
            c->Save();
            contacts.push_back(c);
        }
        note = app.CreateItem(host::olNoteItem);
        note->Set("Body", std::string("Call back about the O'Neil contract"));
        note->Save();
        appointment = app.CreateItem(host::olAppointmentItem);
        appointment->Set("Subject", std::string("Quarterly review"));
        appointment->Set("Start", host::makeDate(2026, 6, 1, 9));
        appointment->Set("End", host::makeDate(2026, 6, 1, 10));
        appointment->Save();
        for (const auto& c : contacts) {
            note->Links().Add(c);
            appointment->Links().Add(c);
        }
        // The first relink adds the rows; the measured ones revive and rewrite them.
        notes.noteToContact(*note, false);
        events.attachEventtoContact(*appointment, false);
    }

    // Both engines revive and rewrite one link row per contact of the item, each in a savepoint.
    void replayContactRows(const std::string& key, int type, const host::Item& item,
                           const std::string& regarding) {
        for (const auto& c : contacts) {
            const std::string id = c->EntryID();
            raw.run("savepoint s1");
            const auto rowid =
                raw.run("select rowid, * from noteTb where OutlookAttachID=" + q(key) +
                        " and OutlookContactID=" + q(id));
            raw.run("select velmoraid from ContactsID where outlookid = " + q(id));
            raw.run(
                "update noteTb set type=" + std::to_string(type) +
                    ", Regarding=?, DateCreated=?, DateEdit=?, contactID='-1', MakeDelete=0, "
                    "Creator='alice', PrivateAccess=1, bAttachment=0, Attached_ID='-1', "
                    "OutlookContactID=?, OutlookAttachID=? where rowid=?",
                {regarding, item.Text("CreationTime"), item.Text("LastModificationTime"), id, key},
                rowid);
            raw.run("release savepoint s1");
        }
    }

    // Both relinks take the write lock, look the item's server id up and withdraw the user's
    // contact links before they rewrite them.
    void replayStart(const std::string& key, const std::string& idLookup) {
        raw.run("begin immediate");
        raw.run(idLookup + q(key));
        raw.run("Update noteTb set MakeDelete=true where OutlookAttachID=" + q(key) +
                " and (creator= 'alice' or privateAccess=0)");
    }

    // The statements noteToContact sends for this note, replayed on the raw connection.
    void replayNote() {
        const std::string key = note->EntryID();
        replayStart(key, "select velmoraid from NotesID where outlookid=");
        raw.run("select OutlookEmailID from ToEvent where MakeDelete=False and OutlookEmailID=" +
                q(key));
        replayContactRows(key, 4, *note, note->Text("Body"));
        raw.run("savepoint s1");
        const auto rowid =
            raw.run("select rowid, * from NoteHistory where outlooknoteid=" + q(key));
        raw.run("update NoteHistory set outlooknoteid=?, PrivateAccess=1, regarding=?, RefCount=2, "
                "noteId='-1' where rowid=?",
                {key, note->Text("Body")}, rowid);
        raw.run("release savepoint s1");
        raw.run("commit");
    }

    // The statements attachEventtoContact sends for this appointment.
    void replayEvent() {
        const std::string key = appointment->EntryID();
        replayStart(key, "select taskid from CalendarId where entryid = ");
        replayContactRows(key, 1, *appointment, appointment->Subject());
        raw.run("savepoint s1");
        const auto rowid = raw.run("select rowid, * from CalendarHistory where taskid=" + q(key));
        raw.run("select taskid from CalendarId where entryid = " + q(key));
        raw.run("update CalendarHistory set taskid=?, eventname=?, fromdate=?, untildate=?, "
                "notime=0, isrepeat=0, isreminder=0, counter=2, velmoraid='-1' where rowid=?",
                {key, appointment->Subject(), appointment->Text("Start"), appointment->Text("End")},
                rowid);
        raw.run("release savepoint s1");
        raw.run("commit");
    }

    testing::TestSession session;
    RawStore raw;
    attachNote notes{session.state};
    AttachEvent events{session.state};
    std::vector<host::ItemPtr> contacts;
    host::ItemPtr note;
    host::ItemPtr appointment;
};

struct Timing {
    double engineUs = 0;
    double rawUs = 0;
    double engineCpuUs = 0;
    double rawCpuUs = 0;
};

// CPU time of this thread: wall time is mostly the commit's flush, the same for both sides.
double threadCpuUs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) / 1e3;
}

// Times the engine operation in the benchmark loop and the raw replay for as many rounds after
// it, so both figures come from the same run and the same store.
template <typename Engine, typename Replay>
void measure(benchmark::State& state, Timing& timing, Engine&& engine, Replay&& replay) {
    const auto start = Clock::now();
    const double cpuStart = threadCpuUs();
    for (auto _ : state)
        engine();
    const double iterations = static_cast<double>(state.iterations());
    const double engineCpuUs = (threadCpuUs() - cpuStart) / iterations;
    const double engineUs =
        std::chrono::duration<double, std::micro>(Clock::now() - start).count() / iterations;
    const auto rounds = std::max<benchmark::IterationCount>(state.iterations(), 20);
    const auto rawStart = Clock::now();
    const double rawCpuStart = threadCpuUs();
    for (benchmark::IterationCount i = 0; i < rounds; ++i)
        replay();
    const double rawCpuUs = (threadCpuUs() - rawCpuStart) / static_cast<double>(rounds);
    const double rawUs =
        std::chrono::duration<double, std::micro>(Clock::now() - rawStart).count() /
        static_cast<double>(rounds);
    timing = {engineUs, rawUs, engineCpuUs, rawCpuUs};
    state.counters["sqlite_us"] = rawUs;
    state.counters["x_sqlite"] = engineUs / rawUs;
}

} // namespace

int main(int argc, char** argv) {
    // --with-1m adds the million-row store: its fill takes a while and some 200 MB of /tmp.
    bool withMillion = false;
    std::vector<char*> args = withoutFlag(argc, argv, "--with-1m", withMillion);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;

    std::vector<long> sizes = {1000, 100000};
    if (withMillion) sizes.push_back(1000000);

    std::map<long, std::unique_ptr<FilledStore>> stores;
    std::map<std::string, std::map<long, Timing>> timings;
    for (const long rows : sizes) {
        const auto fillStart = Clock::now();
        stores[rows] = std::make_unique<FilledStore>(rows);
        std::fprintf(stderr, "filled %ld noteTb rows in %.1f s\n", rows,
                     std::chrono::duration<double>(Clock::now() - fillStart).count());
        FilledStore& s = *stores[rows];
        // Each operation: the engine's call, and its statements replayed raw.
        const std::pair<const char*, std::pair<std::function<void()>, std::function<void()>>>
            operations[] = {
                {"noteToContact",
                 {[&s] { s.notes.noteToContact(*s.note, false); }, [&s] { s.replayNote(); }}},
                {"attachEventtoContact",
                 {[&s] { s.events.attachEventtoContact(*s.appointment, false); },
                  [&s] { s.replayEvent(); }}}};
        for (const auto& [name, calls] : operations) {
            Timing& timing = timings[name][rows];
            benchmark::RegisterBenchmark(
                (std::string(name) + "/rows:" + std::to_string(rows)).c_str(),
                [&timing, engine = calls.first, replay = calls.second](benchmark::State& state) {
                    measure(state, timing, engine, replay);
                })
                ->Unit(benchmark::kMicrosecond);
        }
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();

    std::printf("\n%-21s %8s %10s %10s %8s %9s %9s %8s %7s\n", "operation", "rows", "wall us",
                "sqlite us", "x sqlite", "cpu us", "sqlite cpu", "x cpu", "x 1k");
    for (const auto& [operation, bySize] : timings) {
        const double base = bySize.begin()->second.engineUs;
        for (const auto& [rows, t] : bySize)
            std::printf("%-21s %8ld %10.1f %10.1f %8.2f %9.1f %9.1f %8.2f %7.2f\n",
                        operation.c_str(), rows, t.engineUs, t.rawUs,
                        t.rawUs > 0 ? t.engineUs / t.rawUs : 0.0, t.engineCpuUs, t.rawCpuUs,
                        t.rawCpuUs > 0 ? t.engineCpuUs / t.rawCpuUs : 0.0,
                        base > 0 ? t.engineUs / base : 0.0);
    }
    return 0;
}
