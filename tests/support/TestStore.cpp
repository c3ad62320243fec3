// Test stores on a server live in schemas named after the process and a counter, so tests run in
// parallel against one database without seeing each other's rows.
#include "support/TestStore.h"

#include "platform/ado/Connection.h"

#include <atomic>
#include <cstdlib>
#include <unistd.h>

namespace velmora::testing {

namespace {

std::string uniqueSchemaName() {
    static std::atomic<int> counter{0};
    return "velmora_test_" + std::to_string(::getpid()) + "_" + std::to_string(++counter);
}

} // namespace

TestStore::TestStore(const std::string& file, const std::optional<std::string>& server) {
    const char* named = std::getenv("VELMORA_TEST_DSN");
    serverDsn_ = server ? *server : named ? named : "";
    if (serverDsn_.empty()) {
        connectionString_ = file.empty() || file == ":memory:" ? ":memory:" : "Database=" + file;
        return;
    }
    schema_ = uniqueSchemaName();
    ado::Connection setup;
    setup.Open(serverDsn_);
    setup.Execute("drop schema if exists " + schema_ + " cascade");
    setup.Execute("create schema " + schema_);
    setup.Close();
    // The driver runs ConnSettings on every connection it opens: each sees this schema first.
    connectionString_ = serverDsn_ + ";ConnSettings=set search_path to " + schema_;
}

TestStore::~TestStore() {
    if (schema_.empty()) return;
    try {
        ado::Connection cleanup;
        cleanup.Open(serverDsn_);
        cleanup.Execute("drop schema if exists " + schema_ + " cascade");
    } catch (...) {
        // A schema left behind goes with the throw-away cluster.
    }
}

} // namespace velmora::testing
