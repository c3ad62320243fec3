// The check every fuzz target makes of the texts a reader hands out: UTF-8 throughout, or the
// target aborts naming the field, so libFuzzer keeps the input.
#pragma once

#include <glib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace velmora::fuzz {

// GLib's check stops at NUL, which UTF-8 allows: each piece between NULs is checked.
inline void expectUtf8(const std::string& text, const char* field) {
    bool valid = true;
    for (std::size_t start = 0; valid && start <= text.size();) {
        const std::size_t nul = std::min(text.find('\0', start), text.size());
        valid = g_utf8_validate(text.data() + start, static_cast<gssize>(nul - start), nullptr);
        start = nul + 1;
    }
    if (valid) return;
    std::fprintf(stderr, "the %s read is not UTF-8\n", field);
    std::abort();
}

} // namespace velmora::fuzz
