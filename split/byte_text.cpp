#include "byte_text.h"

#include <cmath>
#include <cstring>
#include <limits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

SharedBytes SharedBytes::Copy(std::string_view bytes) {
    if (bytes.empty()) return {};
    std::shared_ptr<char[]> storage(new char[bytes.size()]);
    std::memcpy(storage.get(), bytes.data(), bytes.size());
    const char* data = storage.get();
    return SharedBytes(std::move(storage), data, static_cast<int32_t>(bytes.size()));
}

SharedBytes SharedBytes::Slice(int32_t offset, int32_t count) const {
    if (count <= 0) return {};
    return SharedBytes(storage_, data_ + offset, count);
}

ByteText::ByteText(const char* cString)
    : ByteText(cString ? std::string_view(cString) : std::string_view()) {}

ByteText::ByteText(std::string_view bytes) {
    bytes = bytes.substr(0, bytes.find('\0'));
    if (bytes.size() > static_cast<size_t>(std::numeric_limits<int32_t>::max()))
        bytes = bytes.substr(0, std::numeric_limits<int32_t>::max());
    bytes_ = SharedBytes::Copy(bytes);
}

int32_t TextLength(const ByteText& text) { return text.Length(); }

ByteText TextLeft(const ByteText& text, int32_t n) {
    if (n <= 0) return {};
    if (n >= text.Length()) return text;
    return ByteText::FromBytesWithoutNul(text.Bytes().Slice(0, n));
}

ByteText TextRight(const ByteText& text, int32_t n) {
    if (n <= 0) return {};
    if (n >= text.Length()) return text;
    return ByteText::FromBytesWithoutNul(text.Bytes().Slice(text.Length() - n, n));
}

ByteText TextMid(const ByteText& text, int32_t start, int32_t n) {
    const int32_t length = text.Length();
    if (start < 1 || start > length || n <= 0) return {};
    const int32_t available = length - start + 1;
    return ByteText::FromBytesWithoutNul(text.Bytes().Slice(start - 1, n < available ? n : available));
}

int32_t ReverseFind(const ByteText& text, const ByteText& pattern) {
    const int32_t length = text.Length();
    const int32_t patternLength = pattern.Length();
    if (patternLength == 0) return length > 0 ? 1 : -1;
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(text.Data());
    int32_t found = -1;
    for (int32_t k = 0; k < length && length - k >= patternLength;) {
        if (std::memcmp(bytes + k, pattern.Data(), patternLength) == 0) found = k + 1;
        k += bytes[k] >= 0x80 ? 2 : 1;
    }
    return found;
}

ByteText IntToText(int32_t value) { return ByteText(std::to_string(value)); }

ByteSequence TextToBytes(const ByteText& text) { return ByteSequence(text.Bytes()); }

namespace {

// Snaps a value whose fraction lies within 1e-12 of a whole number to that number, so that a
// quotient computed in floating point is not rounded one below its true value.
double SnapToWhole(double x) {
    const double whole = std::trunc(x);
    const double fraction = x - whole;
    if (std::fabs(fraction) > 0.999999999999) return x > 0 ? whole + 1 : whole - 1;
    return x;
}

int32_t ClampToInt32(double whole) {
    if (std::isnan(whole)) return 0;
    if (whole <= static_cast<double>(std::numeric_limits<int32_t>::min()))
        return std::numeric_limits<int32_t>::min();
    if (whole >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(whole);
}

}  // namespace

int32_t FloorToInt(double x) { return ClampToInt32(std::floor(SnapToWhole(x))); }

int32_t TruncateToInt(double x) { return ClampToInt32(std::trunc(SnapToWhole(x))); }

ByteText ConcatTexts(std::initializer_list<ByteText> texts) {
    std::string joined;
    size_t total = 0;
    for (const ByteText& text : texts) total += text.Length();
    joined.reserve(total);
    for (const ByteText& text : texts) joined.append(text.View());
    return ByteText(joined);
}

namespace {

// Offset of the first 0x00 or 0x1A byte at or after from, or count when there is none.
int32_t FindStopByte(const unsigned char* bytes, int32_t from, int32_t count) {
    int32_t i = from;
#if defined(__SSE2__)
    const __m128i nul = _mm_setzero_si128();
    const __m128i eof = _mm_set1_epi8(0x1A);
    for (; i + 32 <= count; i += 32) {
        const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i));
        const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(bytes + i + 16));
        const __m128i hitA = _mm_or_si128(_mm_cmpeq_epi8(a, nul), _mm_cmpeq_epi8(a, eof));
        const __m128i hitB = _mm_or_si128(_mm_cmpeq_epi8(b, nul), _mm_cmpeq_epi8(b, eof));
        const unsigned mask = static_cast<unsigned>(_mm_movemask_epi8(hitA)) |
                              (static_cast<unsigned>(_mm_movemask_epi8(hitB)) << 16);
        if (mask != 0) return i + __builtin_ctz(mask);
    }
#endif
    for (; i < count; ++i)
        if (bytes[i] == 0x00 || bytes[i] == 0x1A) return i;
    return count;
}

// Whether offset p begins a character. A byte below 0x80 always ends a character (alone or
// as a trail), so the run of high bytes just before p starts on a character boundary and
// pairs off from there.
bool StartsCharacter(const unsigned char* bytes, int32_t p) {
    int32_t runStart = p;
    while (runStart > 0 && bytes[runStart - 1] >= 0x80) --runStart;
    return (p - runStart) % 2 == 0;
}

}  // namespace

int32_t TextEndOffset(const char* data, int32_t count) {
    const unsigned char* bytes = reinterpret_cast<const unsigned char*>(data);
    for (int32_t p = FindStopByte(bytes, 0, count); p < count; p = FindStopByte(bytes, p + 1, count)) {
        const bool atStart = StartsCharacter(bytes, p);
        if (bytes[p] == 0x00) return atStart ? p : p - 1;  // a trail 0x00 drops its lead too
        if (atStart) return p;                              // 0x1A as a trail byte does not end
    }
    return count;
}
