// A fresh folder below the system's temporary directory for one test, removed at the end.
// Kept here so the store tests need nothing beyond the store layer itself.
#pragma once

#include <filesystem>
#include <random>
#include <string>
#include <system_error>

namespace velmora::ado::testing {

class TempFolder {
  public:
    TempFolder() {
        std::random_device seed;
        path_ = std::filesystem::temp_directory_path() /
                ("velmora-ado-" + std::to_string(seed()) + "-" + std::to_string(seed()));
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }

  private:
    std::filesystem::path path_;
};

} // namespace velmora::ado::testing
