// The one-time GMime set-up and the small helpers over its objects.
#include "platform/mailbox/GMimeSupport.h"

#include <mutex>

namespace velmora::mailbox {

void ensureGMime() {
    static std::once_flag once;
    std::call_once(once, [] { g_mime_init(); });
}

std::string streamBytes(GMimeStreamMem* stream) {
    GByteArray* bytes = g_mime_stream_mem_get_byte_array(stream);
    if (bytes == nullptr || bytes->len == 0) return {};
    return {reinterpret_cast<const char*>(bytes->data), bytes->len};
}

} // namespace velmora::mailbox
