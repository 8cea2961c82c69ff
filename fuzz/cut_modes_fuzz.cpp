// The cutting of all four modes for any text length up to 2,147,483,647 bytes, against integer
// arithmetic: how many parts, where each begins and how long it is, and that the parts tile
// the text. The text is a view of 2 GiB of reserved address space that is never touched, so
// every length costs nothing; parts are compared by where they point.
// Input: one byte for the mode, four for the length.
#include <sys/mman.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>

#include "byte_text.h"
#include "split_job.h"

namespace {

constexpr int64_t kMaxLength = 2147483647;

const char* Reserved() {
    static const char* const base = [] {
        void* p = mmap(nullptr, static_cast<size_t>(kMaxLength), PROT_READ, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE,
                       -1, 0);
        if (p == MAP_FAILED) abort();
        return static_cast<const char*>(p);
    }();
    return base;
}

struct Span {
    int64_t start;  // offset from the text's first byte
    int64_t length;
};

// Part n (from 1) of a text of m bytes, by integer arithmetic alone.
Span ModelPart(SplitMode mode, int64_t m, int64_t n) {
    switch (mode) {
        case SplitMode::TwoFiles: {
            const int64_t u = m / 2;
            return n == 1 ? Span{0, u} : Span{u, m - u};
        }
        case SplitMode::ThreeFiles: {
            const int64_t u = m / 3;
            return n == 1 ? Span{0, u} : n == 2 ? Span{u, u} : Span{2 * u, m - 2 * u};
        }
        default: {
            const int64_t k = mode == SplitMode::Pieces500000 ? 500000 : 1000000;
            const int64_t start = (n - 1) * k;
            return {start, start >= m ? 0 : (m - start < k ? m - start : k)};
        }
    }
}

int64_t ModelCount(SplitMode mode, int64_t m) {
    if (mode == SplitMode::TwoFiles) return 2;
    if (mode == SplitMode::ThreeFiles) return 3;
    return m / (mode == SplitMode::Pieces500000 ? 500000 : 1000000) + 1;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 5) return 0;
    const SplitMode mode = static_cast<SplitMode>(data[0] % 4);
    uint32_t raw = 0;
    std::memcpy(&raw, data + 1, 4);
    const int64_t m = raw % (kMaxLength + 1);

    const char* base = Reserved();
    const std::shared_ptr<const char[]> unowned(base, [](const char*) {});
    const ByteText text = ByteText::FromBytesWithoutNul(SharedBytes(unowned, base, static_cast<int32_t>(m)));

    const int64_t count = ModelCount(mode, m);
    if (PartCount(mode, static_cast<int32_t>(m)) != count) abort();
    int64_t next = 0;
    for (int64_t n = 1; n <= count; ++n) {
        const Span want = ModelPart(mode, m, n);
        const ByteText part = CutPart(text, mode, static_cast<int32_t>(n));
        if (part.Length() != want.length) abort();
        if (want.length > 0 && part.Data() != base + want.start) abort();
        if (want.start != next && want.length > 0) abort();  // the model itself tiles the text
        next += want.length;
    }
    if (next != m) abort();
    return 0;
}
