// The split of a source path into folder and base name, and the part names built from them,
// against a model that reads the path character by character.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "byte_text.h"
#include "split_job.h"

namespace {

// Offset just past the last character that is c, or 0 when none is; characters are single
// bytes below 0x80 and pairs that begin with a byte from 0x80 up.
size_t PastLastCharacter(std::string_view s, char c, bool* found) {
    size_t past = 0;
    *found = false;
    for (size_t i = 0; i < s.size(); i += static_cast<unsigned char>(s[i]) >= 0x80 ? 2 : 1) {
        if (s[i] == c) {
            past = i + 1;
            *found = true;
        }
    }
    return past;
}

std::string ModelSuffix(SplitMode mode, int32_t n) {
    if (mode == SplitMode::TwoFiles || mode == SplitMode::ThreeFiles) return "_0" + std::to_string(n) + ".TXT";
    return "_" + std::to_string(n) + ".TXT";
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;
    const ByteText path(std::string_view(reinterpret_cast<const char*>(data), size));
    const std::string_view p = path.View();

    bool hasBackslash = false;
    const size_t directoryLength = PastLastCharacter(p, '\\', &hasBackslash);
    const std::string_view directory = p.substr(0, directoryLength);
    const std::string_view fileName = p.substr(directoryLength);
    bool hasDot = false;
    const size_t pastDot = PastLastCharacter(fileName, '.', &hasDot);
    const std::string_view baseName = hasDot ? fileName.substr(0, pastDot - 1) : std::string_view();

    const SourceName name = SplitSourcePath(path);
    if (name.directory.View() != directory || name.baseName.View() != baseName) abort();
    for (const SplitMode mode : {SplitMode::TwoFiles, SplitMode::ThreeFiles, SplitMode::Pieces500000,
                                 SplitMode::Pieces1000000}) {
        const int32_t last = mode == SplitMode::TwoFiles ? 2 : mode == SplitMode::ThreeFiles ? 3 : 20;
        for (int32_t n = 1; n <= last; ++n) {
            const std::string expected = std::string(directory) + std::string(baseName) + ModelSuffix(mode, n);
            if (PartFileName(name, mode, n).View() != expected) abort();
        }
    }
    return 0;
}
