// Texts and byte sequences, and the operations the split job performs on them.
//
// A ByteText is 0 to 2,147,483,647 bytes in the system's ANSI code page, none of them 0x00.
// Lengths, counts and positions are 32-bit signed byte counts; positions count from 1.
// The empty text and an absent text are the same value.
//
// Values are immutable. A text cut from another one refers to the same bytes instead of
// copying them: nothing ever writes to bytes once they belong to a text, so the sharing
// cannot be observed, and cutting a 2 GiB source into parts costs no memory.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>

// Bytes that any number of values may share.
class SharedBytes {
public:
    SharedBytes() = default;
    // A fresh copy of the given bytes.
    static SharedBytes Copy(std::string_view bytes);
    // Takes over storage made elsewhere (a read buffer); length bytes from data are the value.
    SharedBytes(std::shared_ptr<const char[]> storage, const char* data, int32_t length)
        : storage_(std::move(storage)), data_(length > 0 ? data : nullptr), length_(length > 0 ? length : 0) {}

    const char* Data() const { return data_; }
    int32_t Length() const { return length_; }
    std::string_view View() const { return {data_, static_cast<size_t>(length_)}; }
    // count bytes from offset (0-based); the caller keeps both within the value.
    SharedBytes Slice(int32_t offset, int32_t count) const;

private:
    std::shared_ptr<const char[]> storage_;
    const char* data_ = nullptr;
    int32_t length_ = 0;
};

class ByteText {
public:
    ByteText() = default;
    // A copy of a C string, up to its terminating NUL.
    ByteText(const char* cString);  // NOLINT: literals are texts
    // A copy of the bytes up to the first 0x00, or all of them.
    explicit ByteText(std::string_view bytes);
    // Takes shared bytes that hold no 0x00 (the reader's scan guarantees it).
    static ByteText FromBytesWithoutNul(SharedBytes bytes) {
        ByteText text;
        text.bytes_ = std::move(bytes);
        return text;
    }

    int32_t Length() const { return bytes_.Length(); }
    bool Empty() const { return bytes_.Length() == 0; }
    const char* Data() const { return bytes_.Data(); }
    std::string_view View() const { return bytes_.View(); }
    // A NUL-terminated copy, for the platform's calls.
    std::string CString() const { return std::string(View()); }
    const SharedBytes& Bytes() const { return bytes_; }

    friend bool operator==(const ByteText& a, const ByteText& b) { return a.View() == b.View(); }
    friend bool operator!=(const ByteText& a, const ByteText& b) { return !(a == b); }

private:
    SharedBytes bytes_;
};

// The data of one file write: any bytes, 0x00 included.
class ByteSequence {
public:
    ByteSequence() = default;
    explicit ByteSequence(SharedBytes bytes) : bytes_(std::move(bytes)) {}
    // A copy of any bytes.
    explicit ByteSequence(std::string_view bytes) : bytes_(SharedBytes::Copy(bytes)) {}

    int32_t Length() const { return bytes_.Length(); }
    const char* Data() const { return bytes_.Data(); }
    std::string_view View() const { return bytes_.View(); }

private:
    SharedBytes bytes_;
};

// The number of bytes.
int32_t TextLength(const ByteText& text);
// The first n bytes; the empty text for n <= 0, the whole text for n >= its length.
ByteText TextLeft(const ByteText& text, int32_t n);
// The last n bytes; the empty text for n <= 0, the whole text for n >= its length.
ByteText TextRight(const ByteText& text, int32_t n);
// n bytes from position start (from 1), cut short at the end of the text; the empty text
// when start lies outside the text or n <= 0.
ByteText TextMid(const ByteText& text, int32_t start, int32_t n);
// Position (from 1) of the last occurrence of pattern that starts at the first byte of a
// character, or -1. Every byte 0x80-0xFF begins a two-byte character, whatever the code
// page, so a 0x5C trail byte is never taken for a backslash. The empty pattern is found at 1
// in any non-empty text.
int32_t ReverseFind(const ByteText& text, const ByteText& pattern);
// Decimal digits, with a leading minus sign when negative, as "%d" writes them.
ByteText IntToText(int32_t value);
// The text's bytes, with no terminator.
ByteSequence TextToBytes(const ByteText& text);
// x rounded down / with its fraction cut off, after snapping a value within 1e-12 of a whole
// number to it. NaN gives 0; values beyond the 32-bit range give its nearest end.
int32_t FloorToInt(double x);
int32_t TruncateToInt(double x);
// The texts joined in order.
ByteText ConcatTexts(std::initializer_list<ByteText> texts);

// Where a text that starts at bytes ends, by the character rule: before a 0x00 or 0x1A that
// stands alone, or before a high byte whose trail is 0x00. A high byte that is the last of
// the bytes belongs to the text. Returns the text's length in bytes (count when no end).
int32_t TextEndOffset(const char* bytes, int32_t count);
