// Reading and writing the whole file of one calendar or contact item, and the error of either:
// what() names the file and says why. A file that can be partly read is no error.
#pragma once

#include <filesystem>
#include <stdexcept>
#include <string>

namespace velmora::mailbox {

class ItemFileError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// The file's bytes; kind ("calendar", "contact") words the error.
std::string readItemFile(const std::filesystem::path& file, const std::string& kind);

// Writes beside the file and renames over it, so that a reader never sees half a file.
void writeItemFile(const std::filesystem::path& file, const std::string& content,
                   const std::string& kind);

} // namespace velmora::mailbox
