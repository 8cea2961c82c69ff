// The end-of-text scan against a walk over the characters, one byte or one pair at a time.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "byte_text.h"

namespace {

// Where the text ends: before a 00 or 1A that stands alone, or before a lead byte whose
// trail is 00; a lead byte that is the last byte stays.
int32_t ModelEnd(const uint8_t* bytes, int32_t count) {
    int32_t i = 0;
    while (i < count) {
        if (bytes[i] == 0x00 || bytes[i] == 0x1A) return i;
        if (bytes[i] < 0x80) {
            i += 1;
        } else if (i + 1 == count) {
            return count;
        } else if (bytes[i + 1] == 0x00) {
            return i;
        } else {
            i += 2;
        }
    }
    return count;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 1 << 20) return 0;
    const int32_t count = static_cast<int32_t>(size);
    if (TextEndOffset(reinterpret_cast<const char*>(data), count) != ModelEnd(data, count)) abort();
    return 0;
}
