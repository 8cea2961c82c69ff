#include "byte_text.h"

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <string>

namespace {

TEST(ByteText, CuttingClipsToTheText) {
    enum Op { Left, Right, Mid };
    struct Case {
        Op op;
        const char* text;
        int32_t start;  // Mid only
        int32_t n;
        const char* expected;
    } cases[] = {
        {Left, "abc", 0, 2, "ab"},     {Left, "abc", 0, 3, "abc"},    {Left, "abc", 0, 10, "abc"},
        {Left, "abc", 0, 0, ""},       {Left, "abc", 0, -5, ""},      {Left, "", 0, 5, ""},
        {Left, "abc", 0, INT_MIN, ""}, {Right, "abc", 0, 2, "bc"},    {Right, "abc", 0, 10, "abc"},
        {Right, "abc", 0, 0, ""},      {Right, "abc", 0, -1, ""},     {Right, "", 0, 3, ""},
        {Mid, "abcdef", 3, 2, "cd"},   {Mid, "abcdef", 5, 10, "ef"},  {Mid, "abcdef", 6, 1, "f"},
        {Mid, "abcdef", 7, 1, ""},     {Mid, "abcdef", 0, 3, ""},     {Mid, "abcdef", -1, 3, ""},
        {Mid, "abcdef", 2, 0, ""},     {Mid, "abcdef", 1, INT_MAX, "abcdef"},
        {Mid, "abcdef", 2, -3, ""},    {Mid, "", 1, 1, ""},
        // A cut falls between the two bytes of a double-byte character without moving.
        {Left, "\xB0\xA1", 0, 1, "\xB0"}, {Right, "\xB0\xA1", 0, 1, "\xA1"},
        {Mid, "a\r\nb", 3, 5, "\nb"},
    };
    for (const Case& c : cases) {
        const ByteText text(c.text);
        const ByteText got = c.op == Left    ? TextLeft(text, c.n)
                             : c.op == Right ? TextRight(text, c.n)
                                             : TextMid(text, c.start, c.n);
        EXPECT_EQ(got.View(), c.expected) << "op " << c.op << " of '" << c.text << "' start " << c.start
                                          << " n " << c.n;
    }
    EXPECT_EQ(TextLength(ByteText()), 0);
    EXPECT_EQ(TextLength(ByteText("\xB0\xA1x")), 3);
}

TEST(ByteText, CutsAreIndependentValues) {
    ByteText whole("hello world");
    const ByteText left = TextLeft(whole, 5);
    whole = ByteText("changed");  // the cut outlives and ignores its source
    EXPECT_EQ(left.View(), "hello");
    EXPECT_EQ(TextRight(left, 2).View(), "lo");
}

TEST(ByteText, TextsStopAtTheirFirstNul) {
    EXPECT_EQ(ByteText(std::string("ab\0cd", 5)).View(), "ab");
    EXPECT_EQ(ByteText(std::string("\0x", 2)).Length(), 0);
}

TEST(ByteText, ReverseFindMatchesOnlyAtCharacterStarts) {
    struct Case {
        std::string text;
        std::string pattern;
        int32_t expected;
    } cases[] = {
        {"C:\\dir\\a.txt", "\\", 7},
        {"a.b.txt", ".", 4},
        {"readme", "\\", -1},
        {"", "\\", -1},
        {"aaa", "aa", 2},
        {"ab", "abc", -1},
        {"abc", "", 1},
        {"", "", -1},
        {"REPORT.TXT", ".txt", -1},
        {"a.", ".", 2},
        {"\x41\x81\x5C", "\\", -1},  // 5C is the trail byte of 81 5C
        {"\x81\x5C\x5C", "\\", 3},
        {"\x80\x5C", "\\", -1},  // 80 begins a pair whatever the code page says
        {"\xFF\x5C", "\\", -1},
        {"dir\x81\x5C\\name", "\\", 6},
        {"\xB0\xA1\xB0\xA1", "\xA1\xB0", -1},  // an occurrence inside two characters is no match
        {"\xB0\xA1\xB0\xA1", "\xB0\xA1", 3},
        {"x\x81", "\x81", 2},  // a lone high byte at the end still starts a character
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ReverseFind(ByteText(c.text), ByteText(c.pattern)), c.expected)
            << "'" << c.pattern << "' in '" << c.text << "'";
    }
}

TEST(ByteText, IntToTextWritesPlainDecimal) {
    struct Case {
        int32_t value;
        const char* expected;
    } cases[] = {{0, "0"}, {7, "7"}, {20, "20"}, {-15, "-15"}, {INT_MAX, "2147483647"}, {INT_MIN, "-2147483648"}};
    for (const Case& c : cases) EXPECT_EQ(IntToText(c.value).View(), c.expected);
}

TEST(ByteText, TextToBytesAddsNothing) {
    const ByteSequence bytes = TextToBytes(ByteText("ab"));
    EXPECT_EQ(bytes.View(), std::string("\x61\x62"));
    EXPECT_EQ(TextToBytes(ByteText()).Length(), 0);
}

TEST(ByteText, ConcatTextsJoinsInOrder) {
    EXPECT_EQ(ConcatTexts({"C:\\dir\\", "a", "_01.TXT"}).View(), "C:\\dir\\a_01.TXT");
    EXPECT_EQ(ConcatTexts({"", "", "_01.TXT"}).View(), "_01.TXT");
    EXPECT_TRUE(ConcatTexts({"", "", ""}).Empty());
    EXPECT_EQ(ConcatTexts({"a", "_", IntToText(12), ".TXT", ""}).View(), "a_12.TXT");
}

TEST(ByteText, RealToIntegerSnapsNearWholeValues) {
    struct Case {
        double x;
        int32_t floor;
        int32_t truncate;
    } cases[] = {
        {2.5, 2, 2},
        {-2.5, -3, -2},
        {7.0, 7, 7},
        {0.0, 0, 0},
        {2.9999999999995, 3, 3},
        {-2.9999999999995, -3, -3},
        {2.9999999999, 2, 2},  // below the snapping threshold
        {-0.5, -1, 0},
        {1e300, INT_MAX, INT_MAX},
        {-1e300, INT_MIN, INT_MIN},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FloorToInt(c.x), c.floor) << c.x;
        EXPECT_EQ(TruncateToInt(c.x), c.truncate) << c.x;
    }
}

// The job divides lengths as reals; every length from 0 to 2^31 - 1 must come back as the
// integer quotient. Checked at each remainder class boundary over the whole range.
TEST(ByteText, LengthQuotientsAreExact) {
    std::mt19937 random(7);
    for (const int32_t divisor : {2, 3, 500000, 1000000}) {
        auto check = [&](int64_t m) {
            if (m < 0 || m > INT_MAX) return;
            const int32_t expected = static_cast<int32_t>(m / divisor);
            const double quotient = static_cast<double>(m) / divisor;
            ASSERT_EQ(FloorToInt(quotient), expected) << m << " / " << divisor;
            ASSERT_EQ(TruncateToInt(quotient), expected) << m << " / " << divisor;
        };
        for (int64_t m = 0; m < 3000000; ++m) check(m);
        for (int64_t m = INT_MAX; m > INT_MAX - 3000000LL; --m) check(m);
        for (int i = 0; i < 200000; ++i) {
            const int64_t q = random() % (INT_MAX / divisor + 1);
            for (const int64_t r : {0, 1, divisor - 2, divisor - 1}) check(q * divisor + r);
        }
    }
}

TEST(ByteText, EndOfTextScan) {
    struct Case {
        std::string bytes;
        int32_t end;
    } cases[] = {
        {"", 0},
        {"plain", 5},
        {std::string("\x41\x42\x1A\x43", 4), 2},
        {std::string("\x41\x81\x1A\x42", 4), 4},  // 1A as a trail byte does not end the text
        {std::string("\x41\x81\x00\x42", 4), 1},  // a trail 00 drops its lead
        {std::string("\x41\x81", 2), 2},          // a lead byte that is the last byte stays
        {std::string("\x00\x41", 2), 0},
        {std::string("\x1A", 1), 0},
        {std::string("\xFF\xFE\x41\x00", 4), 3},  // UTF-16 LE: FF FE 41 00
        {std::string("\xB0\xA1\xB0\xA1\x1A", 5), 4},
        {std::string("\xB0\xB0\xA1\x1A", 4), 4},  // B0 B0 | A1 1A: the 1A is a trail
        {std::string("a\r\nb", 4), 4},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(TextEndOffset(c.bytes.data(), static_cast<int32_t>(c.bytes.size())), c.end)
            << testing::PrintToString(c.bytes);
    }
}

// The scan finds its stop bytes a block at a time; every position of a stop byte in a long
// run of pairs and single bytes must give the same answer as walking character by character.
TEST(ByteText, EndOfTextScanMatchesAWalkAtEveryOffset) {
    auto walk = [](const std::string& b) {
        const auto* u = reinterpret_cast<const unsigned char*>(b.data());
        const int32_t n = static_cast<int32_t>(b.size());
        for (int32_t i = 0; i < n; ++i) {
            if (u[i] == 0 || u[i] == 0x1A) return i;
            if (u[i] >= 0x80) {
                if (i + 1 == n) return n;
                if (u[i + 1] == 0) return i;
                ++i;
            }
        }
        return n;
    };
    std::mt19937 random(11);
    const char alphabet[] = {'a', '\r', '\n', '\x81', '\xB0', '\xFE', '\x1A', '\0', '\x5C', '\x7F', '\x80'};
    for (int round = 0; round < 20000; ++round) {
        std::string bytes(random() % 100, 'x');
        const int density = 1 + random() % 40;
        for (char& c : bytes) c = random() % density == 0 ? alphabet[random() % sizeof alphabet] : "xy\xC4\xE3"[random() % 4];
        ASSERT_EQ(TextEndOffset(bytes.data(), static_cast<int32_t>(bytes.size())), walk(bytes))
            << testing::PrintToString(bytes);
    }
}

TEST(ByteText, ProgramTextsAreCodePage936) {
    // "文件" in GBK; fails when the compiler was not told to emit GBK literals.
    EXPECT_EQ(ByteText("文件").View(), "\xCE\xC4\xBC\xFE");
}

}  // namespace
