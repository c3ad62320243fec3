// A fresh, empty link store for one test: a file in the test's folder, or, when VELMORA_TEST_DSN
// names an ODBC data source on a database server, a schema of its own there, dropped at the end.
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace velmora::testing {

class TestStore {
  public:
    // file: the SQLite store's path when no server is named ("" or ":memory:" for one in memory).
    // server: the data source to use instead of $VELMORA_TEST_DSN ("" for the embedded store).
    explicit TestStore(const std::string& file,
                       const std::optional<std::string>& server = std::nullopt);
    ~TestStore();
    TestStore(const TestStore&) = delete;
    TestStore& operator=(const TestStore&) = delete;

    // What the add-in opens; every connection made with it sees only this test's tables.
    const std::string& connectionString() const { return connectionString_; }
    bool onServer() const { return !schema_.empty(); }

  private:
    std::string serverDsn_;
    std::string schema_;
    std::string connectionString_;
};

} // namespace velmora::testing
