// Writes moxtrel.ico, the program's icon: a page cut in two along a dashed red line, one
// 32 x 32 image in the 16 standard colours with a transparency mask. The picture is the
// pixel art below; rebuild the icon after changing it:
//     g++ -std=c++17 ui/make_icon.cpp -o make_icon && ./make_icon ui/moxtrel.ico
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kSize = 32;

// One character a pixel, top row first; '.' is transparent.
// clang-format off
const char* const kArt[kSize] = {
    "................................",
    "...KKKKKKKKKKKKKKK..............",
    "...KWWWWWWWWWWWWWKK.............",
    "...KWWWWWWWWWWWWWKSK............",
    "...KWNNNNNNNNNNNWKSSK...........",
    "...KWWWWWWWWWWWWWKSSSK..........",
    "...KWWWWWWWWWWWWWKKKKKK.........",
    "...KWBBBBBBBBBBBBBBBWWKG........",
    "...KWWWWWWWWWWWWWWWWWWKG........",
    "...KWBBBBBBBBBBBBBBBWWKG........",
    "...KWWWWWWWWWWWWWWWWWWKG........",
    "...KWBBBBBBBBBBBBBWWWWKG........",
    "...KWWWWWWWWWWWWWWWWWWKG........",
    "...KKKKKKKKKKKKKKKKKKKKG........",
    "....GGGGGGGGGGGGGGGGGGGG........",
    "RRR...RRR...RRR...RRR...RRR...RR",
    "RRR...RRR...RRR...RRR...RRR...RR",
    "................................",
    "........KKKKKKKKKKKKKKKKKKKK....",
    "........KWWWWWWWWWWWWWWWWWWKG...",
    "........KWBBBBBBBBBBBBBBBBWKG...",
    "........KWWWWWWWWWWWWWWWWWWKG...",
    "........KWBBBBBBBBBBBBBBBBWKG...",
    "........KWWWWWWWWWWWWWWWWWWKG...",
    "........KWBBBBBBBBBBBBBWWWWKG...",
    "........KWWWWWWWWWWWWWWWWWWKG...",
    "........KWBBBBBBBBBWWWWWWWWKG...",
    "........KWWWWWWWWWWWWWWWWWWKG...",
    "........KWWWWWWWWWWWWWWWWWWKG...",
    "........KKKKKKKKKKKKKKKKKKKKG...",
    ".........GGGGGGGGGGGGGGGGGGGG...",
    "................................",
};
// clang-format on

// The 16 standard colours as 0xRRGGBB, and the art's letter for the ones it uses.
const uint32_t kPalette[16] = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                               0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                               0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

int ColourIndex(char pixel) {
    switch (pixel) {
        case 'K':
            return 0;  // black
        case 'N':
            return 4;  // navy
        case 'S':
            return 7;  // silver
        case 'G':
            return 8;  // gray
        case 'R':
            return 9;  // red
        case 'B':
            return 12;  // blue
        case 'W':
            return 15;  // white
        default:
            return 0;  // transparent pixels are black under the mask
    }
}

void Put16(std::string& out, uint16_t v) {
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8);
}
void Put32(std::string& out, uint32_t v) {
    Put16(out, static_cast<uint16_t>(v & 0xFFFF));
    Put16(out, static_cast<uint16_t>(v >> 16));
}

// The bytes of the .ico file.
std::string IconFile() {
    std::string image;
    // BITMAPINFOHEADER; the height counts the colour image and the mask together.
    Put32(image, 40);
    Put32(image, kSize);
    Put32(image, kSize * 2);
    Put16(image, 1);
    Put16(image, 4);
    Put32(image, 0);
    Put32(image, kSize * kSize / 2 + kSize * 4);
    Put32(image, 0);
    Put32(image, 0);
    Put32(image, 16);
    Put32(image, 0);
    for (uint32_t rgb : kPalette) {
        image += static_cast<char>(rgb & 0xFF);
        image += static_cast<char>((rgb >> 8) & 0xFF);
        image += static_cast<char>((rgb >> 16) & 0xFF);
        image += '\0';
    }
    // Rows run bottom-up: 4 bits a pixel, then the mask with 1 bit a pixel (1 = transparent),
    // each row padded to 4 bytes.
    for (int y = kSize - 1; y >= 0; --y) {
        for (int x = 0; x < kSize; x += 2) {
            image += static_cast<char>(ColourIndex(kArt[y][x]) << 4 | ColourIndex(kArt[y][x + 1]));
        }
    }
    for (int y = kSize - 1; y >= 0; --y) {
        for (int x = 0; x < kSize; x += 8) {
            unsigned bits = 0;
            for (int b = 0; b < 8; ++b) bits = bits << 1 | (kArt[y][x + b] == '.' ? 1u : 0u);
            image += static_cast<char>(bits);
        }
    }
    std::string file;
    Put16(file, 0);  // ICONDIR: reserved, type 1 (icon), one image
    Put16(file, 1);
    Put16(file, 1);
    file += static_cast<char>(kSize);  // ICONDIRENTRY
    file += static_cast<char>(kSize);
    file += static_cast<char>(16);
    file += '\0';
    Put16(file, 1);
    Put16(file, 4);
    Put32(file, static_cast<uint32_t>(image.size()));
    Put32(file, 6 + 16);
    return file + image;
}

}  // namespace

// Writes the icon to the path given; exit code 0 on success.
int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icon OUTPUT.ico\n");
        return 2;
    }
    const std::string bytes = IconFile();
    std::FILE* out = std::fopen(argv[1], "wb");
    if (out == nullptr)
        return 1;
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), out) == bytes.size();
    return std::fclose(out) == 0 && written ? 0 : 1;
}
