// The log: written only after open, at the level VELMORA_LOG names, to the XDG state folder, and
// a program whose log cannot be written goes on.
#include "platform/log/Log.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace {

namespace fs = std::filesystem;
using namespace velmora;

class LogTest : public ::testing::Test {
  protected:
    void SetUp() override {
        folder_ = fs::temp_directory_path() /
                  ("velmora-log-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder_);
        ::setenv("XDG_STATE_HOME", folder_.c_str(), 1);
        ::unsetenv("VELMORA_LOG_FILE");
        ::unsetenv("VELMORA_LOG");
    }
    void TearDown() override {
        log::close();
        ::unsetenv("XDG_STATE_HOME");
        ::unsetenv("VELMORA_LOG");
        fs::remove_all(folder_);
    }
    std::string contents() const {
        std::ifstream in(folder_ / "velmora" / "velmora.log");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    fs::path folder_;
};

TEST_F(LogTest, WritesAtTheLevelTheEnvironmentNames) {
    log::error("before", "open"); // nothing is open yet: dropped
    log::open("velmora-test", false);
    EXPECT_EQ(log::defaultPath(), folder_ / "velmora" / "velmora.log");
    log::error("AttachEmail", "database is locked");
    log::warn("registry", "line 3 is malformed");
    log::debug("filter", "parsed");
    log::close();
    const std::string text = contents();
    EXPECT_EQ(text.find("before"), std::string::npos);
    EXPECT_NE(text.find("velmora-test["), std::string::npos);
    EXPECT_NE(text.find("error: AttachEmail: database is locked"), std::string::npos);
    EXPECT_NE(text.find("warning: registry: line 3 is malformed"), std::string::npos);
    EXPECT_EQ(text.find("parsed"), std::string::npos);

    // Each level lets through what it names and what is worse; an unknown one is named in the
    // log, and logging goes on at info.
    const auto atLevel = [&](const char* level, void (*writer)(std::string_view, std::string_view),
                             const char* message) {
        ::setenv("VELMORA_LOG", level, 1);
        log::open("velmora-test", false);
        writer("check", message);
        log::close();
        return contents().find(message) != std::string::npos;
    };
    EXPECT_TRUE(atLevel("debug", log::debug, "shown at debug"));
    EXPECT_FALSE(atLevel("warn", log::info, "hidden at warn"));
    EXPECT_TRUE(atLevel("error", log::error, "shown at error"));
    EXPECT_FALSE(atLevel("off", log::error, "hidden when off"));
    EXPECT_EQ(contents().find("is no level"), std::string::npos);
    EXPECT_TRUE(atLevel("verbose", log::info, "shown at info"));
    EXPECT_NE(contents().find("VELMORA_LOG=verbose is no level"), std::string::npos);
}

TEST_F(LogTest, AnUnwritableLogLeavesTheProgramRunning) {
    fs::create_directories(folder_);
    std::ofstream(folder_ / "velmora") << "a file where the folder should be";
    ::testing::internal::CaptureStderr();
    log::open("velmora-test", true);
    log::error("AttachEmail", "database is locked");
    log::warn("registry", "line 3 is malformed");
    const std::string shown = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(shown.find("cannot write the log"), std::string::npos);
    // A tool's user still sees the warning; the error is the program's to report.
    EXPECT_NE(shown.find("velmora-test: warning: registry: line 3 is malformed"),
              std::string::npos);
    EXPECT_EQ(shown.find("database is locked"), std::string::npos);
}

} // namespace
