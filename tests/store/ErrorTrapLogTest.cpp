// The log keeps what went wrong: a trapped error under its procedure's tag, a failed statement
// with the statement, and an ignored step at debug level only.
#include "platform/log/Log.h"
#include "store/ErrorTrap.h"
#include "support/TestSession.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace velmora {
namespace {

std::string fileText(const std::filesystem::path& file) {
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(ErrorTrapLog, TheUsersMessageAndTheFailedStatementAreKept) {
    testing::TestSession s;
    const auto file = s.temp.path() / "velmora.log";
    ::setenv("VELMORA_LOG_FILE", file.c_str(), 1);
    ::unsetenv("VELMORA_LOG");
    log::open("velmora-test", false);

    const bool ran = errorTrap(s.state, "labelSaveAttachment :", [&] {
        s.state.connection().Execute("insert into noteTb (no_such_column) values (1)");
    });
    ignoreErrors([] { throw std::runtime_error("a step nobody waits for"); });
    log::close();
    ::unsetenv("VELMORA_LOG_FILE");

    EXPECT_FALSE(ran);
    ASSERT_EQ(s.messages.shown.size(), 1u);
    const std::string text = fileText(file);
    // The tag loses its " :" in the log, and the message is the one the user saw.
    const std::string shown =
        s.messages.shown[0].text.substr(std::string("labelSaveAttachment :").size());
    EXPECT_NE(text.find("error: labelSaveAttachment: " + shown), std::string::npos) << text;
    EXPECT_NE(text.find("error: store: "), std::string::npos) << text;
    EXPECT_NE(text.find("[insert into noteTb (no_such_column) values (1)]"), std::string::npos)
        << text;
    // An ignored step's failure is no message, but the log keeps it: something was not done.
    EXPECT_NE(text.find("warning: ignored: a step nobody waits for"), std::string::npos) << text;
}

} // namespace
} // namespace velmora
