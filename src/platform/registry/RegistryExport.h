// The registry as a registry editor exports it ("Windows Registry Editor Version 5.00", every key
// below HKEY_CURRENT_USER), so that a Windows registry editor or velmora-reg import can read it.
#pragma once

#include "platform/registry/RegistryDocument.h"

#include <string>
#include <string_view>

namespace velmora::registry {

// The export with line feeds, in UTF-8. Text values the export's quotes cannot hold (a line
// break, a zero byte inside, no terminator) and other text types go as hex(N) UTF-16LE bytes.
// Raises RegistryError naming a key or value whose text is not UTF-8, which UTF-16 cannot carry.
std::string exportText(const RegistryDocument& doc);

// An export text as a registry editor writes its files: a byte order mark, then UTF-16LE with
// CR LF line ends. Raises RegistryError when the text is not UTF-8.
std::string utf16File(std::string_view text);

} // namespace velmora::registry
