// The checks the fuzz targets share: texts a reader hands out are UTF-8, and an item file read
// can be written and read again. A failed check aborts naming it, so libFuzzer keeps the input.
#pragma once

#include "platform/mailbox/ItemFiles.h"

#include <glib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace velmora::fuzz {

[[noreturn]] inline void fail(const std::string& what) {
    std::fprintf(stderr, "%s\n", what.c_str());
    std::abort();
}

// GLib's check stops at NUL, which UTF-8 allows: each piece between NULs is checked.
inline void expectUtf8(const std::string& text, const char* field) {
    bool valid = true;
    for (std::size_t start = 0; valid && start <= text.size();) {
        const std::size_t nul = std::min(text.find('\0', start), text.size());
        valid = g_utf8_validate(text.data() + start, static_cast<gssize>(nul - start), nullptr);
        start = nul + 1;
    }
    if (!valid) fail(std::string("the ") + field + " read is not UTF-8");
}

// Reads the input, then what it gives as written, checking both. None when the input holds
// nothing readable (an ItemFileError); the rewrite must always read.
template <typename Data>
std::optional<std::pair<Data, Data>>
readTwice(std::string_view bytes, Data (*parse)(std::string_view, const std::string&),
          std::string (*text)(const Data&), void (*check)(const Data&)) {
    std::optional<Data> first;
    try {
        first = parse(bytes, "fuzz input");
    } catch (const mailbox::ItemFileError&) {
        return std::nullopt;
    }
    check(*first);
    try {
        Data again = parse(text(*first), "rewrite");
        check(again);
        return std::pair{std::move(*first), std::move(again)};
    } catch (const mailbox::ItemFileError& e) {
        fail(std::string("what was read cannot be read again once written: ") + e.what());
    }
}

} // namespace velmora::fuzz
