// A complete add-in session for tests and benchmarks: the in-memory host, a real link store with
// the full schema (SQLite in a temporary folder, or a server's), a file registry, and fakes.
#pragma once

#include "addin/AddinState.h"
#include "platform/clock/Clock.h"
#include "store/StandInPlatform.h"
#include "support/TestStore.h"

#include <filesystem>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>

namespace velmora::testing {

// A folder below the system's temporary directory, removed with everything in it at the end.
class TempDir {
  public:
    TempDir();
    const std::filesystem::path& path() const { return *path_; }

  private:
    // Owning the path is owning the folder: it can move but not be copied.
    struct Remove {
        void operator()(const std::filesystem::path* path) const;
    };
    std::unique_ptr<const std::filesystem::path, Remove> path_;
};

struct SessionOptions {
    bool chinese = false;       // host folder names and the "Language" setting
    std::string user = "alice"; // the CurrentUser row; "" leaves the table empty
    bool storeInMemory = false; // ":memory:" instead of a file in the temp folder
    // The data source of a server store instead of $VELMORA_TEST_DSN; "" for the embedded one.
    std::optional<std::string> server{};
};

// The session's temporary folder and its store, a base so that both are made before the
// registry file inside the folder and outlive the session's connection.
struct SessionFolder {
    SessionFolder(bool storeInMemory, const std::optional<std::string>& server)
        : store(storeInMemory ? ":memory:" : (temp.path() / "linkstore.db").string(), server) {}
    TempDir temp;
    TestStore store;
};

// The host's and the add-in's one clock is fixed at the local time the session started.
class TestSession : public SessionFolder, public StandInPlatform<timekeeping::FixedClock> {
  public:
    explicit TestSession(const SessionOptions& options = {});
    ~TestSession();

    AddinState state;

    // The install path (registry "path"), a real folder in the temp folder.
    std::filesystem::path installPath() const { return temp.path() / "install"; }
    std::filesystem::path storeFile() const { return temp.path() / "linkstore.db"; }

    // Runs a statement on the session's store and returns the first column of the first row as
    // text ("" when there is no row): the tests' way to look at what the add-in wrote.
    std::string scalar(const std::string& sql);
    long count(const std::string& sql);
    void exec(const std::string& sql);

    // A saved contact in the default Contacts folder, and a one-hour appointment in the Calendar.
    host::ItemPtr addContact(const std::string& fullName, const std::string& address);
    host::ItemPtr addAppointment(const std::string& subject, host::DateTime start);

    // Identity rows the synchronisation program would write.
    void mapContact(const std::string& entryId, const std::string& serverId);
    void mapEvent(const std::string& entryId, const std::string& serverId);
    void mapMail(const std::string& entryId, const std::string& serverId, const std::string& owner);
    void mapNote(const std::string& entryId, const std::string& serverId);
    void mapTask(const std::string& entryId, const std::string& serverId);

    // Makes the store itself refuse rows added to table that meet condition (over "new.COLUMN"),
    // with message, as a store that rejects a row would: a trigger in the engine's own terms.
    void refuseInserts(const std::string& table, const std::string& condition,
                       const std::string& message);

  private:
    // A row of values, each quoted, as the add-in's own statements quote them.
    void insertRow(const std::string& table, const std::string& columns,
                   std::initializer_list<std::string> values);
};

} // namespace velmora::testing
