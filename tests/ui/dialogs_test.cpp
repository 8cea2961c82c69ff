// What the open-file dialog is given, and the main window's layout arithmetic.
#include "dialogs.h"

#include <gtest/gtest.h>

#include <string>

#include "controls.h"
#include "main_window.h"

namespace {

using namespace std::string_literals;

TEST(OpenFileFilter, PairsEndedByAnEmptyString) {
    struct Case {
        std::string filter;
        std::string expected;
    };
    const Case cases[] = {
        {"文本文件|*.TXT", "文本文件\0*.TXT\0\0"s},
        {"文本文件|*.TXT  \t\r\n", "文本文件\0*.TXT\0\0"s},
        {"a|*.a||", "a\0*.a\0\0"s},
        {"a|*.a|b|*.b", "a\0*.a\0b\0*.b\0\0"s},
        {"", "\0\0"s},
        // 0x81 0x7C is one double-byte character whose trail byte looks like "|".
        {"\x81\x7C|*.x", "\x81\x7C\0*.x\0\0"s},
        {"\x81\x7C\x81\x7C", "\x81\x7C\x81\x7C\0\0"s},
    };
    for (const Case& c : cases)
        EXPECT_EQ(OpenFileFilter(ByteText(c.filter)), c.expected) << c.filter;
}

TEST(OpenFileRequest, FlagsBufferAndInitialFolder) {
    OpenFileRequest request = MakeOpenFileRequest("文本文件|*.TXT", "C:\\run", "");
    const OPENFILENAMEA dialog = request.Fill(reinterpret_cast<HWND>(0x1234));
    EXPECT_EQ(dialog.lStructSize, sizeof(OPENFILENAMEA));
    EXPECT_EQ(dialog.hwndOwner, reinterpret_cast<HWND>(0x1234));
    EXPECT_EQ(dialog.Flags, DWORD{OFN_HIDEREADONLY | OFN_FILEMUSTEXIST | OFN_OVERWRITEPROMPT |
                                  OFN_PATHMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING});
    EXPECT_EQ(std::string(dialog.lpstrFilter, 16), "文本文件\0*.TXT\0\0"s);
    EXPECT_EQ(dialog.nFilterIndex, 1u);
    EXPECT_EQ(dialog.nMaxFile, 260u);
    EXPECT_EQ(dialog.lpstrFile[0], '\0');
    EXPECT_STREQ(dialog.lpstrInitialDir, "C:\\run");
    EXPECT_EQ(dialog.lpstrTitle, nullptr);
    EXPECT_EQ(dialog.lpstrDefExt, nullptr);

    OpenFileRequest noFolder = MakeOpenFileRequest("a|*.a", "", "C:\\last\\chosen.txt");
    const OPENFILENAMEA second = noFolder.Fill(nullptr);
    EXPECT_EQ(second.lpstrInitialDir, nullptr);
    EXPECT_STREQ(second.lpstrFile, "C:\\last\\chosen.txt");
}

TEST(OpenFileRequest, NameIsCutToTheBufferAndZeroAfter) {
    for (size_t length : {258u, 259u, 260u, 400u}) {
        const std::string name(length, 'n');
        OpenFileRequest request = MakeOpenFileRequest("a|*.a", "", ByteText(name));
        const std::string buffer(request.path.data(), request.path.size());
        const size_t kept = std::min<size_t>(length, 259);
        EXPECT_EQ(buffer, name.substr(0, kept) + std::string(260 - kept, '\0')) << length;
    }
}

TEST(MainWindowLayout, CentredOnTheWholeScreen) {
    struct Case {
        int width, height;
        LONG left, top;
    };
    const Case cases[] = {{1024, 768, 354, 292}, {1920, 1080, 802, 448}, {1025, 769, 354, 293}};
    for (const Case& c : cases) {
        const POINT place = CentredPosition(c.width, c.height);
        EXPECT_EQ(place.x, c.left) << c.width;
        EXPECT_EQ(place.y, c.top) << c.height;
    }
}

TEST(MainWindowLayout, NoTwoControlsOverlap) {
    for (int i = 0; i < kControlCount; ++i) {
        const ControlTemplate& a = kControls[i];
        EXPECT_EQ(a.id, kPathBox + i) << "the table stands in focus order";
        for (int j = i + 1; j < kControlCount; ++j) {
            const ControlTemplate& b = kControls[j];
            const bool apart = a.left + a.width <= b.left || b.left + b.width <= a.left ||
                               a.top + a.height <= b.top || b.top + b.height <= a.top;
            EXPECT_TRUE(apart) << a.id << " and " << b.id;
        }
    }
}

}  // namespace
