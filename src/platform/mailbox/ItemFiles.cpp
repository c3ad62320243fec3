// Reading and writing the whole file of one calendar or contact item.
// Writes go to a hidden file beside the target first, which collection readers pass over.
#include "platform/mailbox/ItemFiles.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <sstream>

namespace velmora::mailbox {

std::string readItemFile(const std::filesystem::path& file, const std::string& kind) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream text;
    if (in) text << in.rdbuf();
    if (!in || in.bad())
        throw ItemFileError("Cannot read " + kind + " file " + file.string() + ": " +
                            std::strerror(errno));
    return text.str();
}

void writeItemFile(const std::filesystem::path& file, const std::string& content,
                   const std::string& kind) {
    std::filesystem::path temporary = file;
    temporary.replace_filename("." + file.filename().string() + ".tmp");
    const auto fail = [&](const std::string& reason) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw ItemFileError("Cannot write " + kind + " file " + file.string() + ": " + reason);
    };
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << content;
        out.flush();
        if (!out) fail(std::strerror(errno));
    }
    std::error_code ec;
    std::filesystem::rename(temporary, file, ec);
    if (ec) fail(ec.message());
}

} // namespace velmora::mailbox
