// File and folder names for attachment copies that cannot leave their folder: separators,
// drive colons and control characters are replaced, and names are kept within the name limit.
#pragma once

#include <string>
#include <string_view>

namespace velmora {

// The longest name, in bytes, that the copies' file systems accept for one path element.
inline constexpr std::size_t maxFileNameBytes = 255;

// The on-disk name of the copy of the attachment at a position: position "_" display name,
// with every unsafe character replaced by "_" and the name shortened to the limit.
std::string attachmentFileName(int position, std::string_view displayName);

// The on-disk name of a mail's attachment folder; an ordinary entry ID maps to itself. It never
// begins with ".": those names are kept for the folders an operation has not settled yet.
std::string mailFolderName(std::string_view mailKey);

// Where the next contents of a mail's folder wait until the operation's rows commit: a name
// beside the folder that no mail key can have.
std::string pendingFolderName(std::string_view folderName);
// True for a name pendingFolderName gives.
bool isPendingFolderName(std::string_view name);

} // namespace velmora
