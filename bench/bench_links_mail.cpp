// Benchmark of relinking a mail to 20 contacts against link stores of growing size, beside the
// same statements sent straight through the sqlite3 API on the same file in the same run.
#include "links/AttachEmail.h"
#include "platform/ado/Recordset.h"
#include "support/TestSession.h"

#include "BenchSupport.h"
#include "LinkedMail.h"
#include "RatioReporter.h"

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <cstdio>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

using namespace velmora;

constexpr int contactsPerMail = 20;

class Sqlite {
  public:
    explicit Sqlite(const std::string& file) {
        if (sqlite3_open(file.c_str(), &db_) != SQLITE_OK)
            throw std::runtime_error("Cannot open " + file + ": " + sqlite3_errmsg(db_));
        sqlite3_busy_timeout(db_, 5000);
    }
    ~Sqlite() { sqlite3_close(db_); }
    Sqlite(const Sqlite&) = delete;
    Sqlite& operator=(const Sqlite&) = delete;

    void exec(const std::string& sql) {
        char* error = nullptr;
        if (sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
            const std::string text = error ? error : "unknown error";
            sqlite3_free(error);
            throw std::runtime_error(text + " in: " + sql);
        }
    }
    // Prepares, steps through every row and finalises, as one row set per statement does.
    int run(const std::string& sql) {
        sqlite3_stmt* stmt = nullptr;
        if (sqlite3_prepare_v2(db_, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK)
            throw std::runtime_error(std::string(sqlite3_errmsg(db_)) + " in: " + sql);
        int rows = 0;
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW)
            ++rows;
        sqlite3_finalize(stmt);
        if (rc != SQLITE_DONE)
            throw std::runtime_error(std::string(sqlite3_errmsg(db_)) + " in: " + sql);
        return rows;
    }
    sqlite3* handle() { return db_; }

  private:
    sqlite3* db_ = nullptr;
};

// Other mails' contact links, written with one prepared statement in one transaction.
void fillNoteTb(Sqlite& db, long rows) {
    db.exec("begin");
    sqlite3_stmt* stmt = nullptr;
    const char* sql = "insert into noteTb (OutlookAttachID, OutlookContactID, contactID, "
                      "Attached_ID, type, Regarding, DateCreated, DateEdit, Creator, "
                      "PrivateAccess, MakeDelete, bAttachment) values "
                      "(?, ?, '-1', '-1', 2, ?, '2020-01-02 03:04:05', '2020-01-02 03:04:05', "
                      "'alice', 1, 0, 0)";
    if (sqlite3_prepare_v2(db.handle(), sql, -1, &stmt, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db.handle()));
    for (long i = 0; i < rows; ++i) {
        const std::string mail = "FILL-MAIL-" + std::to_string(i / 4);
        const std::string contact = "FILL-CONTACT-" + std::to_string(i % 5000);
        sqlite3_bind_text(stmt, 1, mail.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(stmt, 2, contact.c_str(), -1, SQLITE_TRANSIENT);
        sqlite3_bind_text(stmt, 3, "Filler subject", -1, SQLITE_STATIC);
        if (sqlite3_step(stmt) != SQLITE_DONE)
            throw std::runtime_error(sqlite3_errmsg(db.handle()));
        sqlite3_reset(stmt);
    }
    sqlite3_finalize(stmt);
    db.exec("commit");
}

// One store of a given size, with a mail linked to 20 contacts in the host.
struct Environment {
    testing::TestSession session;
    std::unique_ptr<AttachEmail> engine;
    host::ItemPtr mail;
    std::vector<std::string> contactIds;
    std::unique_ptr<Sqlite> raw;

    explicit Environment(long rows) {
        raw = std::make_unique<Sqlite>(session.storeFile().string());
        fillNoteTb(*raw, rows);
        mail = linkedMail(session.host.application(), contactsPerMail, contactIds);
        engine = std::make_unique<AttachEmail>(session.state);
    }

    // The statements one relink issues, under a key of its own so both runs stay independent.
    void replay(const std::string& key) {
        auto q = [](const std::string& v) { return ado::sqlText(v); };
        raw->exec("begin");
        raw->run("delete from noteTb where outlookattachid ='" + q(key) +
                 "' and (creator= 'alice' or privateAccess=0)");
        raw->run("select bAttachment From ToEvent where OutlookEmailID='" + q(key) +
                 "' and  bAttachment=True");
        raw->run("select username from EMailsID where outlookid ='" + q(key) + "'");
        for (const std::string& contact : contactIds) {
            raw->run("select * from notetb where outlookattachid='" + q(key) +
                     "' and outlookContactid='" + q(contact) + "'");
            raw->run("select velmoraid from ContactsID where outlookid = '" + q(contact) + "'");
            raw->run("select msgid from EMailsID where outlookid ='" + q(key) + "'");
            raw->run("insert into noteTb (Type, regarding, DateCreated, DateEdit, contactID, "
                     "Creator, PrivateAccess, bAttachment, Attached_ID, OutlookContactID, "
                     "OutlookAttachID) values (2, 'Weekly report', '2020-01-02 03:04:05', "
                     "'2020-01-02 03:04:05', '-1', 'alice', 1, 0, '-1', '" +
                     q(contact) + "', '" + q(key) + "')");
        }
        const bool exists =
            raw->run("select * from EMailHistory where entryid= '" + q(key) + "'") > 0;
        if (exists) {
            const int events = raw->run(
                "select OutlookEmailID From ToEvent where OutlookEmailID='" + q(key) + "'");
            raw->run("update EMailHistory set att_count=" + std::to_string(20 + events) +
                     " where entryid='" + q(key) + "'");
        } else {
            raw->run("insert into EMailHistory (entryid, priority, subject, date_time, size, "
                     "content_type, att_count, isDeleted) values ('" +
                     q(key) + "', 3, 'Weekly report', '2020-1-2 3:4:5', 300, 'text/plain', 20, 0)");
        }
        raw->exec("commit");
    }
};

SharedEnvironment<Environment> registerSize(long rows) {
    return registerPair<Environment>(
        rows, "noteTb", "emailToContact",
        [](benchmark::State& state, Environment& e) {
            for (auto _ : state)
                e.engine->emailToContact(*e.mail, nullptr, false, false, false, false);
            if (e.session.count("select * from noteTb where OutlookAttachID='" + e.mail->EntryID() +
                                "'") != contactsPerMail)
                state.SkipWithError("the relink lost contact rows");
        },
        "sqlite3Replay",
        [](benchmark::State& state, Environment& e) {
            for (auto _ : state)
                e.replay("BASELINE-MAIL");
        });
}

} // namespace

// --with_1m adds the store of one million rows; its fill takes tens of seconds.
int main(int argc, char** argv) {
    bool withMillion = false;
    std::vector<char*> args = withoutFlag(argc, argv, "--with_1m", withMillion);
    int count = static_cast<int>(args.size());
    std::vector<SharedEnvironment<Environment>> stores = {registerSize(1000), registerSize(100000)};
    if (withMillion) stores.push_back(registerSize(1000000));
    benchmark::Initialize(&count, args.data());
    if (benchmark::ReportUnrecognizedArguments(count, args.data())) return 1;
    RatioReporter reporter("emailToContact", "engine", "sqlite3");
    benchmark::RunSpecifiedBenchmarks(&reporter);
    for (auto& store : stores)
        store->reset(); // removes the temporary stores
    benchmark::Shutdown();
    return 0;
}
