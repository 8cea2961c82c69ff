// The benchmark's input text: printable ASCII, CR LF line ends and double-byte characters in
// the lead range 0x81-0xFE with trails 0x40-0xFE (0x5C and 0x7C among them), and never a 0x00
// or 0x1A, so the whole file is one text. The same seed always gives the same bytes.
#pragma once

#include <cstddef>
#include <cstdint>

class SampleText {
public:
    // Fills count bytes, going on from where the last call stopped; a character or line end
    // never straddles two calls.
    void Fill(char* bytes, size_t count) {
        size_t i = 0;
        while (i < count) {
            state_ = state_ * 1103515245u + 12345u;
            const uint32_t r = state_ >> 8;
            if (r % 61 == 0 && i + 2 <= count) {
                bytes[i++] = '\r';
                bytes[i++] = '\n';
            } else if (r % 3 == 0 && i + 2 <= count) {
                bytes[i++] = static_cast<char>(0x81 + r % 0x7E);
                bytes[i++] = static_cast<char>(0x40 + (r >> 8) % 0xBF);
            } else {
                bytes[i++] = static_cast<char>(0x20 + r % 0x5F);
            }
        }
    }

private:
    uint32_t state_ = 12345;
};
