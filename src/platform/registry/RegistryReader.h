// Reads registry text into a RegistryDocument: the registry file's own format (docs/registry.md)
// and what a registry editor exports ("Windows Registry Editor Version 5.00" or "REGEDIT4").
#pragma once

#include "platform/registry/RegistryDocument.h"

#include <string>
#include <string_view>
#include <vector>

namespace velmora::registry {

// A line a read skipped, and why.
struct MalformedLine {
    int number = 0;
    std::string problem;
};

// "line 3: unterminated quoted text", plus how many more lines were skipped; "" for none.
std::string describeSkipped(const std::vector<MalformedLine>& skipped);

// Applies the text's entries to doc in their order: keys, values, and a registry export's
// removals ("[-KEY]", "NAME"=-). A malformed line is skipped and the read goes on; the answer
// lists every skipped line, first first. The text may start with a UTF-8 or UTF-16LE byte order
// mark; UTF-16LE text is converted first.
std::vector<MalformedLine> readRegistryText(std::string_view text, RegistryDocument& doc);

struct ParsedRegistry {
    RegistryDocument document;
    std::vector<MalformedLine> skipped;
};

// The text read into an empty document.
ParsedRegistry parseRegistryText(std::string_view text);

} // namespace velmora::registry
