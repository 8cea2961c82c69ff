// ReverseFind against a search that visits every character start and remembers the last match.
// Input: one byte that gives the pattern's length (0 to 7), the pattern, then the text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "byte_text.h"

namespace {

int32_t ModelReverseFind(std::string_view text, std::string_view pattern) {
    if (pattern.empty()) return text.empty() ? -1 : 1;
    int32_t last = -1;
    size_t k = 0;
    while (k < text.size() && text.size() - k >= pattern.size()) {
        if (std::memcmp(text.data() + k, pattern.data(), pattern.size()) == 0) last = static_cast<int32_t>(k) + 1;
        k += static_cast<unsigned char>(text[k]) >= 0x80 ? 2 : 1;
    }
    return last;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > 1 << 16) return 0;
    const size_t patternLength = data[0] % 8 < size - 1 ? data[0] % 8 : size - 1;
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    // Texts hold no 00 byte: each stops at its first.
    const ByteText pattern(rest.substr(0, patternLength));
    const ByteText text(rest.substr(patternLength));
    if (ReverseFind(text, pattern) != ModelReverseFind(text.View(), pattern.View())) abort();
    return 0;
}
