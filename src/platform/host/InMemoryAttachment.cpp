// One attachment of an in-memory item.
// SaveAsFile writes through a temporary stream and reports the OS reason, so a caller's trap can
// show why the copy failed.
#include "platform/host/InMemoryAttachment.h"

#include "platform/host/HostCore.h"

#include <cerrno>
#include <cstring>
#include <fstream>

namespace velmora::host {

void InMemoryAttachment::check(const char* member) const {
    auto core = core_.lock();
    if (!core) throw HostError("The mail host has been shut down");
    core->check(member);
}

std::string InMemoryAttachment::DisplayName() const {
    check("Attachment.DisplayName");
    return name_;
}

std::string InMemoryAttachment::FileName() const {
    check("Attachment.FileName");
    return name_;
}

void InMemoryAttachment::SaveAsFile(const std::string& path) const {
    check("Attachment.SaveAsFile");
    if (path.empty())
        throw HostError("Cannot save attachment \"" + name_ + "\": no file name given");
    errno = 0;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    if (!out) {
        const int err = errno;
        throw HostError("Cannot save attachment \"" + name_ + "\" as \"" + path +
                        "\": " + (err ? std::strerror(err) : "the file cannot be created"));
    }
    out.write(content_.data(), static_cast<std::streamsize>(content_.size()));
    out.close();
    if (!out) {
        const int err = errno;
        throw HostError("Cannot write attachment \"" + name_ + "\" to \"" + path +
                        "\": " + (err ? std::strerror(err) : "write failed"));
    }
}

} // namespace velmora::host
