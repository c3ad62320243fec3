// A store whose tables were never made, and a server that goes away in the middle of a
// transaction: clear messages with the driver's own text, and nothing written half.
#include "platform/ado/Recordset.h"
#include "platform/text/AsciiText.h"
#include "store/Schema.h"

#include "support/ErrorText.h"
#include "support/TestStore.h"

#include <gtest/gtest.h>

namespace velmora::ado {
namespace {

using velmora::testing::errorText;

TEST(ServerStore, AStoreWithoutItsTablesNamesTheMissingOne) {
    velmora::testing::TestStore store(":memory:");
    Connection c;
    c.Open(store.connectionString());
    const std::string missing = errorText<StoreError>([&] {
        Recordset rs;
        rs.Open("select * from noteTb where OutlookAttachID='M'", c);
    });
    EXPECT_NE(text::lower(missing).find("notetb"), std::string::npos) << missing;
    EXPECT_EQ(errorText<StoreError>([&] { createSchema(c); }), "<no error>");
}

TEST(ServerStore, AServerGoneMidTransactionKeepsNothingOfIt) {
    velmora::testing::TestStore store(":memory:");
    if (!store.onServer()) GTEST_SKIP() << "the run is on the embedded store";
    Connection c;
    c.Open(store.connectionString());
    createSchema(c);
    Recordset pid;
    pid.Open("select pg_backend_pid()", c);
    const std::string backend = pid.Fields(0).Value().text();
    pid.Close();

    c.BeginTrans();
    c.Execute("insert into noteTb (OutlookAttachID) values ('HALF')");
    // The server ends this connection's session, as a restart or a network failure would.
    Connection admin;
    admin.Open(store.connectionString());
    admin.Execute("select pg_terminate_backend(" + backend + ")");
    const std::string gone = errorText<StoreError>(
        [&] { c.Execute("insert into noteTb (OutlookAttachID) values ('X')"); });
    EXPECT_NE(gone, "<no error>");
    EXPECT_THROW(c.CommitTrans(), StoreError);

    Recordset rs;
    rs.Open("select count(*) from noteTb", admin);
    EXPECT_EQ(rs.Fields(0).Value().toInt(), 0) << "the half-done transaction left a row";
}

} // namespace
} // namespace velmora::ado
