// Where the button faces are found: in the data folder installed beside the program, in the
// source tree for a build that was never installed, and in $VELMORA_DATA_DIR before either.
#include "addin/CommandBars.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace velmora {
namespace {

namespace fs = std::filesystem;

void writeFace(const fs::path& file) {
    fs::create_directories(file.parent_path());
    std::ofstream(file) << "/* XPM */\n";
}

TEST(FaceImage, DataVariableThenInstalledTreeThenSources) {
    const fs::path root = fs::temp_directory_path() / ("velmora-faces-" + std::to_string(getpid()));
    fs::remove_all(root);
    const fs::path program = root / "prefix" / "bin";
    const fs::path installed = root / "prefix" / "share" / "velmora" / "faces";
    fs::create_directories(program);
    writeFace(installed / "104.xpm");
    unsetenv("VELMORA_DATA_DIR");

    EXPECT_EQ(faceImage(104, program), (installed / "104.xpm").string());
    // A face the installed tree lacks, or a program outside any installed tree: the sources.
    const fs::path fromSources = faceImage(103, program);
    EXPECT_TRUE(fs::is_regular_file(fromSources));
    EXPECT_EQ(fromSources.parent_path().filename(), "resources");
    EXPECT_EQ(faceImage(104, root / "elsewhere"), (fromSources.parent_path() / "104.xpm").string());
    // Found nowhere: the installed place, where it belongs.
    EXPECT_EQ(faceImage(999, program), (installed / "999.xpm").string());

    writeFace(root / "data" / "faces" / "104.xpm");
    setenv("VELMORA_DATA_DIR", (root / "data").c_str(), 1);
    EXPECT_EQ(faceImage(104, program), (root / "data" / "faces" / "104.xpm").string());
    EXPECT_EQ(faceImage(103, program), fromSources.string());
    EXPECT_EQ(faceImage(999, program), (root / "data" / "faces" / "999.xpm").string());
    unsetenv("VELMORA_DATA_DIR");
    fs::remove_all(root);
}

} // namespace
} // namespace velmora
