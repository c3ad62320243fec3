// The link store through ODBC: a private odbcinst.ini/odbc.ini names the SQLite ODBC driver and
// the data source "VelmoraOutlook", and the add-in's own connection string opens it.
#include "StoreRoundTrip.h"
#include "TempFolder.h"

#include "platform/ado/Recordset.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <dlfcn.h>
#include <fstream>
#include <optional>
#include <string>

namespace velmora::ado {
namespace {

// The driver library: $VELMORA_SQLITE_ODBC_DRIVER, else where Debian's libsqliteodbc puts it.
std::filesystem::path sqliteOdbcDriver() {
    if (const char* named = std::getenv("VELMORA_SQLITE_ODBC_DRIVER"); named && *named)
        return named;
    std::error_code ignored;
    for (const char* folder : {"/usr/lib/x86_64-linux-gnu/odbc", "/usr/lib/aarch64-linux-gnu/odbc",
                               "/usr/lib/odbc", "/usr/lib64/odbc", "/usr/local/lib/odbc"}) {
        const std::filesystem::path candidate = std::filesystem::path(folder) / "libsqlite3odbc.so";
        if (std::filesystem::exists(candidate, ignored)) return candidate;
    }
    return {};
}

// A variable set for one test and put back as it was, so that the tests after it (run in the same
// process, on another engine's data source) see their own.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const std::string& value) : name_(name) {
        if (const char* before = std::getenv(name)) before_ = before;
        setenv(name, value.c_str(), 1);
    }
    ~ScopedVariable() {
        if (before_)
            setenv(name_, before_->c_str(), 1);
        else
            unsetenv(name_);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    const char* name_;
    std::optional<std::string> before_;
};

// unixODBC keeps the first data sources it reads for the life of the process: a run given a
// server's data source leaves the SQLite driver's tests to the embedded run.
bool givenAServer() {
    const char* dsn = std::getenv("VELMORA_TEST_DSN");
    return dsn && *dsn;
}

struct DataSourceFiles {
    ScopedVariable systemFolder;
    ScopedVariable userFile;
};

// Points unixODBC at ini files of this test only; the machine's own data sources are untouched.
[[nodiscard]] DataSourceFiles defineDataSource(const std::filesystem::path& folder,
                                               const std::filesystem::path& driver,
                                               const std::filesystem::path& database) {
    std::ofstream(folder / "odbcinst.ini")
        << "[SQLite3]\nDescription=SQLite3 ODBC Driver\nDriver=" << driver.string()
        << "\nDontDLClose=1\n";
    std::ofstream(folder / "odbc.ini")
        << "[VelmoraOutlook]\nDriver=SQLite3\nDatabase=" << database.string() << "\nTimeout=5000\n";
    // The driver manager loads libodbcinst on demand and unloads it at exit with its ini cache
    // still allocated, which the leak checker would blame on this test; keep it loaded.
    dlopen("libodbcinst.so.2", RTLD_NOW | RTLD_NODELETE);
    return {{"ODBCSYSINI", folder.string()}, {"ODBCINI", (folder / "odbc.ini").string()}};
}

TEST(OdbcStore, AddinDataSourceRunsTheRoundTripAndKeepsValueKinds) {
    const std::filesystem::path driver = sqliteOdbcDriver();
    if (driver.empty())
        GTEST_SKIP() << "the SQLite ODBC driver (Debian package libsqliteodbc) is not installed";
    if (givenAServer()) GTEST_SKIP() << "the run is on a server's data source";
    testing::TempFolder temp;
    const auto database = temp.path() / "linkstore.db";
    const DataSourceFiles files = defineDataSource(temp.path(), driver, database);

    Connection c;
    c.Open("DSN=VelmoraOutlook;UID=sa;PWD=");
    testing::runStoreRoundTrip(c);
    c.Close();

    // What went through ODBC is in the file, readable by the embedded backend as well.
    Connection direct;
    direct.Open("Database=" + database.string());
    Recordset rs;
    rs.Open("select count(*) from noteTb where OutlookAttachID='MAIL1'", direct);
    EXPECT_EQ(rs.Fields(0).Value().toInt(), 2);
    rs.Close();
    direct.Execute("create table kinds (k integer, v blob, t text)");
    direct.Execute("insert into kinds values (1, x'0A001B', ''), (2, NULL, NULL)");
    direct.Close();

    // Bytes, empty texts and nulls each come back as what they are; statements are judged
    // without running them, and a change that yields no rows counts what it changed. (The SQLite
    // driver takes read-only access as a wish, not a rule.)
    c.Open("DSN=VelmoraOutlook;Mode=Read");
    EXPECT_TRUE(c.ReadsOnly("select * from kinds"));
    EXPECT_FALSE(c.ReadsOnly("delete from kinds"));
    rs.Open("select v, t from kinds order by k", c);
    EXPECT_EQ(rs.Fields("v").Value(), Value(Blob{std::string("\x0A\x00\x1B", 3)}));
    EXPECT_EQ(rs.Fields("t").Value(), Value(""));
    rs.MoveNext();
    EXPECT_TRUE(rs.Fields("v").Value().isNull());
    EXPECT_TRUE(rs.Fields("t").Value().isNull());
    rs.Close();
    rs.Open("update kinds set t='x'", c);
    EXPECT_EQ(rs.FieldCount(), 0);
    EXPECT_EQ(rs.RecordsAffected(), 2);
}

TEST(OdbcStore, UnknownDataSourceNamesTheProblemWithoutThePassword) {
    if (givenAServer()) GTEST_SKIP() << "the run is on a server's data source";
    testing::TempFolder temp;
    std::ofstream(temp.path() / "odbcinst.ini") << "";
    std::ofstream(temp.path() / "odbc.ini") << "";
    const ScopedVariable systemFolder("ODBCSYSINI", temp.path().string());
    const ScopedVariable userFile("ODBCINI", (temp.path() / "odbc.ini").string());
    Connection c;
    try {
        c.Open("DSN=NoSuchSource;UID=sa;PWD=secret");
        FAIL() << "an undefined data source opened";
    } catch (const StoreError& e) {
        const std::string message = e.what();
        EXPECT_NE(message.find("NoSuchSource"), std::string::npos) << message;
        EXPECT_NE(message.find("IM002"), std::string::npos) << message;
        EXPECT_EQ(message.find("secret"), std::string::npos) << message;
    }
    EXPECT_FALSE(c.IsOpen());
}

} // namespace
} // namespace velmora::ado
