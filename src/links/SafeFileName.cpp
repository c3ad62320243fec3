// Safe names for attachment copies. Display names come from whoever sent the mail, so they are
// never trusted as paths; multi-byte UTF-8 text is kept and only cut at character boundaries.
#include "links/SafeFileName.h"

#include "platform/text/Utf8Text.h"

#include <cstdint>
#include <cstdio>

namespace velmora {

namespace {

constexpr std::string_view pendingPrefix = ".pending-";

bool unsafe(unsigned char c) {
    return c < 0x20 || c == 0x7F || c == '/' || c == '\\' || c == ':';
}

std::string replaceUnsafe(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (unsafe(static_cast<unsigned char>(c))) c = '_';
    return out;
}

std::string fnv1aHex(std::string_view text) {
    std::uint64_t hash = 1469598103934665603ull;
    for (unsigned char c : text) {
        hash ^= c;
        hash *= 1099511628211ull;
    }
    char buffer[17];
    std::snprintf(buffer, sizeof buffer, "%016llx", static_cast<unsigned long long>(hash));
    return buffer;
}

} // namespace

std::string attachmentFileName(int position, std::string_view displayName) {
    const std::string prefix = std::to_string(position) + "_";
    const std::string name = replaceUnsafe(displayName);
    if (prefix.size() + name.size() <= maxFileNameBytes) return prefix + name;
    // Too long: keep a short extension so that the copy still opens with the right program.
    const std::size_t budget = maxFileNameBytes - prefix.size();
    const auto dot = name.rfind('.');
    std::string_view extension;
    if (dot != std::string::npos && name.size() - dot <= 16)
        extension = std::string_view(name).substr(dot);
    const std::string_view stem =
        text::prefixWithinBytes(std::string_view(name).substr(0, name.size() - extension.size()),
                                budget - extension.size());
    return prefix + std::string(stem) + std::string(extension);
}

std::string mailFolderName(std::string_view mailKey) {
    std::string name = replaceUnsafe(mailKey);
    if (name.empty() || name.front() == '.') name.insert(0, "_");
    if (name.size() > maxFileNameBytes) {
        // Keys this long are not entry IDs the host hands out; a hash keeps them apart.
        const std::string hash = fnv1aHex(mailKey);
        name = std::string(text::prefixWithinBytes(name, maxFileNameBytes - hash.size() - 1)) +
               "~" + hash;
    }
    return name;
}

std::string pendingFolderName(std::string_view folderName) {
    std::string name = std::string(pendingPrefix) + std::string(folderName);
    // A folder name near the limit would not fit behind the prefix; its hash stands in for it,
    // after a "." that no folder name begins with.
    if (name.size() > maxFileNameBytes)
        name = std::string(pendingPrefix) + "." + fnv1aHex(folderName);
    return name;
}

bool isPendingFolderName(std::string_view name) {
    return name.starts_with(pendingPrefix);
}

} // namespace velmora
