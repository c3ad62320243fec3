// Fuzz target for the registry file reader: reads each input as a registry text, then checks
// that what was read survives the file's own format and an export written and read back.
#include "platform/registry/Registry.h"
#include "platform/registry/RegistryExport.h"
#include "platform/registry/RegistryReader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

using namespace velmora::registry;

namespace {

// written, read back as text, must give the document it was written from, every line read.
void expectReadBack(const RegistryDocument& document, const std::string& written,
                    const char* form) {
    const ParsedRegistry back = parseRegistryText(written);
    if (back.skipped.empty() && back.document == document) return;
    std::fprintf(stderr, "%s does not read back as it was written (%s)\n--- written:\n%s\n", form,
                 describeSkipped(back.skipped).c_str(), written.c_str());
    std::fprintf(stderr, "--- read back:\n%s\n", back.document.serialize().c_str());
    std::abort();
}

} // namespace

// Reading never raises: a malformed line is skipped, so any exception is a finding.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const ParsedRegistry read = parseRegistryText(text);
    expectReadBack(read.document, read.document.serialize(), "the registry file's own format");
    std::string exported;
    try {
        exported = exportText(read.document);
    } catch (const RegistryError&) {
        return 0; // a key, name or text that is not UTF-8, which an export cannot carry
    }
    expectReadBack(read.document, exported, "a registry editor's export");
    expectReadBack(read.document, utf16File(exported), "a UTF-16 export");
    return 0;
}
