// What every use of GMime needs: the one-time library set-up, owning pointers for its objects,
// and the bytes a memory stream holds. Internal to the mailbox layer.
#pragma once

#include <gmime/gmime.h>

#include <memory>
#include <string>

namespace velmora::mailbox {

// Sets GMime up once per process, from whichever thread comes first.
void ensureGMime();

struct GObjectUnref {
    void operator()(gpointer object) const { g_object_unref(object); }
};
template <typename T> using GPtr = std::unique_ptr<T, GObjectUnref>;

// Owns text GLib or GMime handed over (g_free).
struct GFree {
    void operator()(gpointer text) const { g_free(text); }
};
using GText = std::unique_ptr<char, GFree>;

// The stream's bytes as they are.
std::string streamBytes(GMimeStreamMem* stream);

} // namespace velmora::mailbox
