// The statement layer against the same SQL issued straight through sqlite3 in the same run:
// set-based changes, a read walking rows and fields, and rows added through an updatable set.
#include "platform/ado/Recordset.h"
#include "store/Schema.h"

#include "BenchSupport.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <random>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace {

using namespace velmora;
using Clock = std::chrono::steady_clock;

double secondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// An entry id as the host makes them: a long run of hex digits.
std::string entryId(const char* prefix, long n) {
    std::string id = "00000000" + std::string(prefix);
    std::mt19937 random(
        static_cast<std::mt19937::result_type>(static_cast<unsigned>(n) * 2654435761u));
    const char* hex = "0123456789ABCDEF";
    while (id.size() < 132)
        id += hex[random() % 16];
    return id + std::to_string(n);
}

class RawDb {
  public:
    explicit RawDb(const std::string& path) {
        // Opened as the store opens its own connection, so only the layer's work differs.
        if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX,
                            nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db_));
        sqlite3_busy_timeout(db_, 5000);
    }
    ~RawDb() { sqlite3_close_v2(db_); }
    RawDb(const RawDb&) = delete;
    RawDb& operator=(const RawDb&) = delete;
    sqlite3* get() const { return db_; }
    void exec(const std::string& sql) const {
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK)
            throw std::runtime_error(sqlite3_errmsg(db_));
    }

  private:
    sqlite3* db_ = nullptr;
};

// One store file of `rows` link rows, opened both through the store layer and directly.
struct Store {
    Store(const std::filesystem::path& file, long rows) : path(file), size(rows) {
        std::filesystem::remove(file);
        connection.Open("Database=" + file.string());
        createSchema(connection);
        raw = std::make_unique<RawDb>(file.string());
        raw->exec("begin");
        sqlite3_stmt* insert = nullptr;
        sqlite3_prepare_v2(raw->get(),
                           "insert into noteTb (OutlookAttachID, OutlookContactID, contactID, "
                           "Attached_ID, type, Regarding, DateCreated, DateEdit, Creator, "
                           "PrivateAccess) values (?,?,?,?,2,?,?,?,?,?)",
                           -1, &insert, nullptr);
        for (long i = 0; i < rows; ++i) {
            const std::string mail = entryId("MAIL", i);
            const std::string contact = entryId("CONTACT", i % 97);
            const std::string server = "alice_" + std::to_string(i);
            const std::string regarding = "Quarterly figures, draft " + std::to_string(i);
            sqlite3_bind_text(insert, 1, mail.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 2, contact.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 3, server.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 4, server.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 5, regarding.c_str(), -1, SQLITE_TRANSIENT);
            sqlite3_bind_text(insert, 6, "2003-04-05 13:07:00", -1, SQLITE_STATIC);
            sqlite3_bind_text(insert, 7, "2003-04-06 09:00:00", -1, SQLITE_STATIC);
            sqlite3_bind_text(insert, 8, "alice", -1, SQLITE_STATIC);
            sqlite3_bind_int(insert, 9, static_cast<int>(i % 2));
            if (sqlite3_step(insert) != SQLITE_DONE)
                throw std::runtime_error(sqlite3_errmsg(raw->get()));
            sqlite3_reset(insert);
        }
        sqlite3_finalize(insert);
        raw->exec("commit");
    }
    ~Store() {
        raw.reset();
        connection.Close();
        std::error_code ignored;
        for (const char* suffix : {"", "-wal", "-shm"})
            std::filesystem::remove(path.string() + suffix, ignored);
    }
    std::filesystem::path path;
    long size;
    ado::Connection connection;
    std::unique_ptr<RawDb> raw;
};

// Runs both sides once, in alternating order so neither always finds the cache warmed by the
// other; returns {store seconds, sqlite seconds}.
template <typename StoreSide, typename RawSide>
std::pair<double, double> timedPair(long round, StoreSide&& storeSide, RawSide&& rawSide) {
    double storeSeconds = 0;
    double rawSeconds = 0;
    for (int side = 0; side < 2; ++side) {
        const bool storeTurn = (side == 0) == (round % 2 == 0);
        const auto start = Clock::now();
        if (storeTurn)
            storeSide();
        else
            rawSide();
        (storeTurn ? storeSeconds : rawSeconds) = secondsSince(start);
    }
    return {storeSeconds, rawSeconds};
}

// The store's time is the benchmark's own (manual) time; the baseline's goes into counters.
void report(benchmark::State& state, double storeSeconds, double rawSeconds, long operations) {
    const double perOperation =
        1e6 / static_cast<double>(state.iterations()) / static_cast<double>(operations);
    state.counters["store_us_per_op"] = storeSeconds * perOperation;
    state.counters["sqlite_us_per_op"] = rawSeconds * perOperation;
    state.counters["ratio"] = rawSeconds > 0 ? storeSeconds / rawSeconds : 0;
}

const char* const readSql = "select OutlookAttachID, OutlookContactID, contactID, Regarding, "
                            "DateCreated, PrivateAccess, MakeDelete from noteTb where type=2";

template <typename T> void keep(const T& value) {
    benchmark::DoNotOptimize(value);
}

// Reading every row of a list, each field by name, as the dialogs fill their lists.
void readPath(benchmark::State& state, Store& store) {
    double storeTotal = 0;
    double rawTotal = 0;
    long round = 0;
    auto storeSide = [&store] {
        ado::Recordset rs;
        rs.Open(readSql, store.connection);
        for (; !rs.IsEOF(); rs.MoveNext()) {
            keep(rs.Fields("OutlookAttachID").Value().text());
            keep(rs.Fields("OutlookContactID").Value().text());
            keep(rs.Fields("ContactID").Value().text());
            keep(rs.Fields("Regarding").Value().text());
            keep(rs.Fields("DateCreated").Value().text());
            keep(!rs.Fields("PrivateAccess").Value().toBool());
            keep(rs.Fields("MakeDelete").Value().toBool());
        }
    };
    auto rawSide = [&store] {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(store.raw->get(), readSql, -1, &s, nullptr);
        auto text = [s](int c) {
            const auto* p = reinterpret_cast<const char*>(sqlite3_column_text(s, c));
            return p ? std::string(p, static_cast<std::size_t>(sqlite3_column_bytes(s, c)))
                     : std::string();
        };
        while (sqlite3_step(s) == SQLITE_ROW) {
            keep(text(0));
            keep(text(1));
            keep(text(2));
            keep(text(3));
            keep(text(4));
            keep(sqlite3_column_int64(s, 5) == 0);
            keep(sqlite3_column_int64(s, 6) != 0);
        }
        sqlite3_finalize(s);
    };
    for (auto _ : state) {
        const auto [storeSeconds, rawSeconds] = timedPair(round++, storeSide, rawSide);
        state.SetIterationTime(storeSeconds);
        storeTotal += storeSeconds;
        rawTotal += rawSeconds;
    }
    report(state, storeTotal, rawTotal, store.size);
    state.counters["rows"] = static_cast<double>(store.size);
}

// Set-based single-row changes by entry id, in one transaction as a relink batch would be.
void executePath(benchmark::State& state, Store& store) {
    constexpr long batch = 200;
    double storeTotal = 0;
    double rawTotal = 0;
    long round = 0;
    std::vector<std::string> statements;
    auto storeSide = [&] {
        store.connection.BeginTrans();
        for (const auto& sql : statements)
            keep(store.connection.Execute(sql));
        store.connection.CommitTrans();
    };
    auto rawSide = [&] {
        sqlite3_exec(store.raw->get(), "begin immediate", nullptr, nullptr, nullptr);
        for (const auto& sql : statements) {
            sqlite3_stmt* s = nullptr;
            sqlite3_prepare_v2(store.raw->get(), sql.c_str(), static_cast<int>(sql.size()), &s,
                               nullptr);
            sqlite3_step(s);
            keep(sqlite3_changes64(store.raw->get()));
            sqlite3_finalize(s);
        }
        sqlite3_exec(store.raw->get(), "commit", nullptr, nullptr, nullptr);
    };
    for (auto _ : state) {
        // The statement texts are built outside the timing: both sides run the same texts.
        statements.clear();
        for (long i = 0; i < batch; ++i)
            statements.push_back("update noteTb set MakeDelete=" + std::to_string(round % 2) +
                                 " where OutlookAttachID='" +
                                 entryId("MAIL", (round * batch + i) % store.size) + "'");
        const auto [storeSeconds, rawSeconds] = timedPair(round++, storeSide, rawSide);
        state.SetIterationTime(storeSeconds);
        storeTotal += storeSeconds;
        rawTotal += rawSeconds;
    }
    report(state, storeTotal, rawTotal, batch);
}

// A link row added field by field through an updatable row set that first looks for it, against
// the same lookup and a bound insert straight through sqlite3.
void addNewPath(benchmark::State& state, Store& store) {
    constexpr long batch = 100;
    double storeTotal = 0;
    double rawTotal = 0;
    long round = 0;
    const std::string contact = entryId("CONTACT", 1);
    const std::string lookup =
        "select * from noteTb where OutlookAttachID='NEW' and OutlookContactID='" + contact + "'";
    auto storeSide = [&] {
        store.connection.BeginTrans();
        for (long i = 0; i < batch; ++i) {
            ado::Recordset rs;
            rs.Open(lookup, store.connection, ado::adOpenKeyset, ado::adLockPessimistic);
            rs.AddNew();
            rs.Fields("OutlookAttachID") = "NEW";
            rs.Fields("OutlookContactID") = contact;
            rs.Fields("contactID") = "alice_1";
            rs.Fields("type") = 9;
            rs.Fields("Regarding") = "Quarterly figures";
            rs.Fields("Creator") = "alice";
            rs.Fields("PrivateAccess") = false;
            rs.Fields("bAttachment") = false;
            rs.Update();
        }
        store.connection.CommitTrans();
    };
    auto rawSide = [&] {
        sqlite3* db = store.raw->get();
        sqlite3_exec(db, "begin immediate", nullptr, nullptr, nullptr);
        for (long i = 0; i < batch; ++i) {
            sqlite3_stmt* find = nullptr;
            sqlite3_prepare_v2(db, lookup.c_str(), static_cast<int>(lookup.size()), &find, nullptr);
            while (sqlite3_step(find) == SQLITE_ROW)
                keep(sqlite3_column_int64(find, 0));
            sqlite3_finalize(find);
            sqlite3_stmt* s = nullptr;
            sqlite3_prepare_v2(db,
                               "insert into noteTb (OutlookAttachID, OutlookContactID, contactID, "
                               "type, Regarding, Creator, PrivateAccess, bAttachment) values "
                               "(?,?,?,?,?,?,?,?)",
                               -1, &s, nullptr);
            sqlite3_bind_text(s, 1, "NEW", -1, SQLITE_STATIC);
            sqlite3_bind_text(s, 2, contact.c_str(), -1, SQLITE_STATIC);
            sqlite3_bind_text(s, 3, "alice_1", -1, SQLITE_STATIC);
            sqlite3_bind_int(s, 4, 9);
            sqlite3_bind_text(s, 5, "Quarterly figures", -1, SQLITE_STATIC);
            sqlite3_bind_text(s, 6, "alice", -1, SQLITE_STATIC);
            sqlite3_bind_int(s, 7, 0);
            sqlite3_bind_int(s, 8, 0);
            sqlite3_step(s);
            keep(sqlite3_last_insert_rowid(db));
            sqlite3_finalize(s);
        }
        sqlite3_exec(db, "commit", nullptr, nullptr, nullptr);
    };
    for (auto _ : state) {
        const auto [storeSeconds, rawSeconds] = timedPair(round++, storeSide, rawSide);
        state.SetIterationTime(storeSeconds);
        storeTotal += storeSeconds;
        rawTotal += rawSeconds;
        // Back to the table's size for the next round; not timed.
        store.connection.Execute("delete from noteTb where type=9");
    }
    report(state, storeTotal, rawTotal, batch);
}

} // namespace

int main(int argc, char** argv) {
    // Short by default: a later --benchmark_min_time on the command line still wins.
    std::vector<char*> args(argv, argv + argc);
    std::string shortRun = "--benchmark_min_time=0.1";
    args.insert(args.begin() + 1, shortRun.data());
    argc = static_cast<int>(args.size());
    argv = args.data();
    bool withoutMillion = false;
    args = withoutFlag(argc, argv, "--without_1m", withoutMillion);
    argc = static_cast<int>(args.size());
    argv = args.data();
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
    const auto folder = std::filesystem::temp_directory_path();
    std::vector<std::unique_ptr<Store>> stores;
    for (long rows : {1000L, 10000L, 100000L, 1000000L}) {
        if (withoutMillion && rows == 1000000L) continue;
        stores.push_back(std::make_unique<Store>(
            folder / ("velmora-bench-store-" + std::to_string(rows) + ".db"), rows));
        Store& store = *stores.back();
        const std::string size = "/" + std::to_string(rows);
        benchmark::RegisterBenchmark(("Read" + size).c_str(),
                                     [&store](benchmark::State& s) { readPath(s, store); })
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("Execute" + size).c_str(),
                                     [&store](benchmark::State& s) { executePath(s, store); })
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
        benchmark::RegisterBenchmark(("AddNewUpdate" + size).c_str(),
                                     [&store](benchmark::State& s) { addNewPath(s, store); })
            ->UseManualTime()
            ->Unit(benchmark::kMicrosecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
