// Paths and contents that a careless split would get wrong: odd path forms, double-byte and
// invalid code-page bytes, names with dots in odd places, relative and very long paths, texts
// that end on a lead byte or a stop byte, files too long to read. Nothing may be lost on any.
#include <gtest/gtest.h>

#include <iostream>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "file_ops.h"
#include "file_platform.h"
#include "split_job.h"
#include "split_outcome.h"
#include "test_files.h"

namespace {

const std::string kEmptyPath = "\x01";  // stands for the empty path in a table

struct Part {
    std::string name;  // below the test folder
    std::string bytes;
};

struct Case {
    const char* label;
    std::vector<std::string> folders;  // made first, below the test folder
    std::string file;                  // the source file made below the test folder
    std::string path;                  // what the job is given, below the test folder
    std::string content;
    SplitMode mode;
    std::string message;  // empty: a silent run
    std::vector<Part> parts;
    bool sourceKept;
    bool rawNamesOnly = false;  // the source's name is no text of the ANSI code page
};

const std::string kNoSuchFile = "文件不存在！";
const std::string kUnreadable = "文件无法读取！";
const std::string kTooLarge = "文件太大，无法分割！";
const std::string kNothingToSplit = "文件不用分割！";
const std::string kWriteFailedKept = "有分割文件写入失败！\r\n原文件已保留。";
const std::string kEndedEarlyKept = "文件含有结束字符，其后的内容没有分割！\r\n原文件已保留。";

// The name up to its first separator; the byte after a lead byte is never one.
std::string FirstComponent(const std::string& name) {
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\') return name.substr(0, i);
        if (static_cast<unsigned char>(name[i]) >= 0x80) ++i;
    }
    return name;
}

void ExpectCase(const Case& c) {
    SCOPED_TRACE(c.label);
    if (c.rawNamesOnly && !NamesAreRawBytes()) return;  // no such file can exist here
    TestFolder folder;
    for (const std::string& name : c.folders) MakeFolder(folder / name);
    if (!c.file.empty()) WriteFileBytes(folder / c.file, c.content);
    const ByteText path = c.path == kEmptyPath ? ByteText() : folder / c.path;
    const auto messages = RunCollecting(path, c.mode, true);

    EXPECT_EQ(messages, c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
    std::vector<ByteText> parts;
    for (const Part& part : c.parts) {
        parts.push_back(folder / part.name);
        EXPECT_EQ(ReadFileBytes(folder / part.name), part.bytes) << testing::PrintToString(part.name);
    }
    if (!c.file.empty()) {
        EXPECT_EQ(PathExists(folder / c.file), c.sourceKept);
        ExpectNothingLost(folder / c.file, c.content, parts, messages);
    }
    // Nothing is written but the parts.
    std::set<std::string> entries;
    for (const std::string& name : c.folders) entries.insert(FirstComponent(name));
    for (const Part& part : c.parts) entries.insert(FirstComponent(part.name));
    if (c.sourceKept) entries.insert(FirstComponent(c.file));
    EXPECT_EQ(folder.Names().size(), entries.size());
}

TEST(BadInput, PathForms) {
    const std::string text = "0123456789";
    const Case cases[] = {
        {"empty path", {}, "s.txt", kEmptyPath, text, SplitMode::TwoFiles, kNoSuchFile, {}, true},
        {"file with a trailing backslash", {}, "s.txt", "s.txt\\", text, SplitMode::TwoFiles, kNoSuchFile, {}, true},
        {"folder with a trailing backslash", {"d"}, "", "d\\", "", SplitMode::TwoFiles, kNoSuchFile, {}, false},
        {"backslash trail byte in the folder", {"\x81\x5C"}, "\x81\x5C\\r.txt", "\x81\x5C\\r.txt", text,
         SplitMode::TwoFiles, "", {{"\x81\x5C\\r_01.TXT", "01234"}, {"\x81\x5C\\r_02.TXT", "56789"}}, false},
        {"backslash trail bytes in folder and name", {"\x95\x5C"}, "\x95\x5C\\\x81\x5C\xB1\x5C.txt",
         "\x95\x5C\\\x81\x5C\xB1\x5C.txt", text, SplitMode::ThreeFiles, "",
         {{"\x95\x5C\\\x81\x5C\xB1\x5C_01.TXT", "012"},
          {"\x95\x5C\\\x81\x5C\xB1\x5C_02.TXT", "345"},
          {"\x95\x5C\\\x81\x5C\xB1\x5C_03.TXT", "6789"}},
         false},
        {"leading dot and another", {}, ".a.txt", ".a.txt", text, SplitMode::TwoFiles, "",
         {{".a_01.TXT", "01234"}, {".a_02.TXT", "56789"}}, false},
        {"two dots together", {}, "a..txt", "a..txt", text, SplitMode::TwoFiles, "",
         {{"a._01.TXT", "01234"}, {"a._02.TXT", "56789"}}, false},
        {"dots in the folder and the name", {"v1.2"}, "v1.2\\a.b.c", "v1.2\\a.b.c", text, SplitMode::TwoFiles, "",
         {{"v1.2\\a.b_01.TXT", "01234"}, {"v1.2\\a.b_02.TXT", "56789"}}, false},
        // A lead byte swallows the byte after it, even a dot or a backslash.
        {"dot as a trail byte", {}, "a\x80.txt", "a\x80.txt", text, SplitMode::TwoFiles, "",
         {{"_01.TXT", "01234"}, {"_02.TXT", "56789"}}, false},
        {"backslash as the trail of a lone lead byte", {}, "d\x81\\r.txt", "d\x81\\r.txt", text, SplitMode::TwoFiles,
         "", {{"d\x81\\r_01.TXT", "01234"}, {"d\x81\\r_02.TXT", "56789"}}, false},
        {"invalid double-byte pairs", {}, "\xFF\xFF\x81\x30.txt", "\xFF\xFF\x81\x30.txt", text, SplitMode::TwoFiles,
         "", {{"\xFF\xFF\x81\x30_01.TXT", "01234"}, {"\xFF\xFF\x81\x30_02.TXT", "56789"}}, false, true},

        {"lone lead byte at the end of the name", {}, "ab.c\xB0", "ab.c\xB0", text, SplitMode::TwoFiles, "",
         {{"ab_01.TXT", "01234"}, {"ab_02.TXT", "56789"}}, false, true},
    };
    for (const Case& c : cases) ExpectCase(c);
}

// Bytes that are no text of the code page, typed into the path. Where names are characters
// the system reads them as some other name: at worst a pattern that matches a file that then
// cannot be opened, or a name without a stray last byte, which is then split and deleted
// whole. Whichever file the run reaches, it keeps its bytes or they all reach its parts.
TEST(BadInput, InvalidBytesTypedIntoThePath) {
    struct Case {
        std::string existing;
        std::string typed;
        std::vector<std::string> parts;  // named from the typed path
    } cases[] = {
        {"s.txt", "\xFF\xFF\x81\x30.txt", {"\xFF\xFF\x81\x30_01.TXT", "\xFF\xFF\x81\x30_02.TXT"}},
        {"\xB0\xA1.txt", "\xB0\x30.txt", {"\xB0\x30_01.TXT", "\xB0\x30_02.TXT"}},  // B0 30 is no pair
        {"ab.cx", "ab.c\xB0", {"ab_01.TXT", "ab_02.TXT"}},  // a lead byte with nothing after it
        {"ab.txt", "ab.txt\x81", {"ab_01.TXT", "ab_02.TXT"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.typed));
        TestFolder folder;
        WriteFileBytes(folder / c.existing, "0123456789");
        const auto messages = RunCollecting(folder / c.typed, SplitMode::TwoFiles, true);
        std::vector<ByteText> parts;
        for (const std::string& name : c.parts) parts.push_back(folder / name);
        ExpectNothingLost(folder / c.existing, "0123456789", parts, messages);
        if (!messages.empty()) {
            EXPECT_TRUE(messages == std::vector<std::string>{kNoSuchFile} ||
                        messages == std::vector<std::string>{kUnreadable})
                << testing::PrintToString(messages);
            EXPECT_EQ(folder.Names(), std::vector<std::string>{c.existing});
        }
    }
}

TEST(BadInput, ContentsThatEndOddly) {
    const std::string pieces = ChineseText(1200000);
    // A 00 after a single-byte character or a whole pair ends the text right before it.
    size_t nul = 700000;
    while (static_cast<unsigned char>(pieces[nul - 1]) >= 0x80) ++nul;
    std::string nulInSecondPiece = pieces;
    nulInSecondPiece[nul] = '\0';
    const auto firstPieces = ModelParts(pieces.substr(0, nul), SplitMode::Pieces500000);
    const Case cases[] = {
        {"lone lead byte at the end", {}, "s.txt", "s.txt", "abc\xB0", SplitMode::TwoFiles, "",
         {{"s_01.TXT", "ab"}, {"s_02.TXT", "c\xB0"}}, false},
        {"lead byte before 00", {}, "s.txt", "s.txt", std::string("ab\xB0\0cd", 6), SplitMode::TwoFiles,
         kEndedEarlyKept, {{"s_01.TXT", "a"}, {"s_02.TXT", "b"}}, true},
        {"1A after a lead byte", {}, "s.txt", "s.txt", "a\xB0\x1A" "bcd", SplitMode::ThreeFiles, "",
         {{"s_01.TXT", "a\xB0"}, {"s_02.TXT", "\x1A" "b"}, {"s_03.TXT", "cd"}}, false},
        {"00 at offset 0", {}, "s.txt", "s.txt", std::string("\0abc", 4), SplitMode::TwoFiles, kEndedEarlyKept,
         {{"s_01.TXT", ""}, {"s_02.TXT", ""}}, true},
        {"00 at offset 0 in pieces", {}, "s.txt", "s.txt", std::string("\0", 1) + pieces, SplitMode::Pieces500000,
         kNothingToSplit, {}, true},
        {"1A at offset 0", {}, "s.txt", "s.txt", "\x1A" "abc", SplitMode::ThreeFiles, kEndedEarlyKept,
         {{"s_01.TXT", ""}, {"s_02.TXT", ""}, {"s_03.TXT", ""}}, true},
        {"00 in the second piece", {}, "s.txt", "s.txt", nulInSecondPiece, SplitMode::Pieces500000,
         kEndedEarlyKept, {{"s_1.TXT", firstPieces[0]}, {"s_2.TXT", firstPieces[1]}}, true},
    };
    for (const Case& c : cases) ExpectCase(c);
}

// Lengths at and past the 32-bit bounds must never be taken modulo 2^32.
TEST(BadInput, SourcesTooLongToRead) {
    for (const long long length : {2147483648LL, 4294967296LL, 4294967296LL + 10, 6442450944LL + 5}) {
        for (const SplitMode mode : {SplitMode::TwoFiles, SplitMode::Pieces1000000}) {
            SCOPED_TRACE(std::to_string(length) + " bytes");
            TestFolder folder;
            ASSERT_TRUE(MakeSparseFile(folder / "huge.txt", length));
            EXPECT_EQ(RunCollecting(folder / "huge.txt", mode, true), std::vector<std::string>{kTooLarge});
            EXPECT_EQ(folder.Names(), std::vector<std::string>{"huge.txt"});
        }
    }
}

// Relative paths are taken from the current folder, which start-up sets to the run directory.
TEST(BadInput, RelativePathsResolveAgainstTheRunDirectory) {
    const ByteText runDirectory = RunDirectory();
    ASSERT_TRUE(PlatformSetCurrentDirectory(runDirectory));
    TestFolder folder(runDirectory);
    const std::string name(folder.Path().View().substr(runDirectory.View().size() + 1));
    MakeFolder(folder / "sub");
    struct Case {
        std::string path;     // relative
        std::string partDir;  // relative to the test folder, where the parts must appear
    } cases[] = {
        {name + "\\r.txt", ""},
        {".\\" + name + "\\r.txt", ""},
        {name + "\\sub\\..\\r.txt", ""},
        {name + "\\sub\\r.txt", "sub\\"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const ByteText source = folder / (c.partDir + "r.txt");
        WriteFileBytes(source, "abcdef");
        EXPECT_TRUE(RunCollecting(ByteText(c.path), SplitMode::TwoFiles, true).empty());
        EXPECT_FALSE(PathExists(source));
        EXPECT_EQ(ReadFileBytes(folder / (c.partDir + "r_01.TXT")), "abc");
        EXPECT_EQ(ReadFileBytes(folder / (c.partDir + "r_02.TXT")), "def");
        RemoveFile(folder / (c.partDir + "r_01.TXT"));
        RemoveFile(folder / (c.partDir + "r_02.TXT"));
    }
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"sub"});
}

// Makes the folders for a source path of exactly length bytes below folder and returns it.
ByteText LongSourcePath(const TestFolder& folder, size_t length) {
    ByteText path = folder.Path();
    while (length - path.View().size() > 120) {
        path = ConcatTexts({path, "\\", ByteText(std::string(99, 'd'))});
        MakeFolder(path);
    }
    const size_t nameLength = length - path.View().size() - 1;
    return ConcatTexts({path, "\\", ByteText(std::string(nameLength - 4, 'n') + ".txt")});
}

// Paths around the classic limit of 260 bytes, and far beyond it; the part names are three
// bytes longer than the source's. A run either goes through whole or keeps the source.
TEST(BadInput, LongPaths) {
    const std::string content = ChineseText(1000);
    for (const size_t length : {257, 259, 260, 261, 600}) {
        SCOPED_TRACE(std::to_string(length) + " bytes");
        TestFolder folder;
        const ByteText source = LongSourcePath(folder, length);
        ASSERT_EQ(source.View().size(), length);
        WriteFileBytes(source, content);
        const auto messages = RunCollecting(source, SplitMode::TwoFiles, true);
        const ByteText base = TextLeft(source, source.Length() - 4);
        const std::vector<ByteText> parts = {ConcatTexts({base, "_01.TXT"}), ConcatTexts({base, "_02.TXT"})};
        ExpectNothingLost(source, content, parts, messages);
        std::string outcome = "split";
        if (messages.empty()) {
            ExpectParts(parts, ModelParts(content, SplitMode::TwoFiles));
        } else {
            // Where the system limits paths: the source cannot be found or read, or the parts
            // cannot be made; each way the source stays, and the run says why.
            EXPECT_TRUE(PathExists(source));
            ASSERT_EQ(messages.size(), 1u);
            const std::string& message = messages.front();
            outcome = message == kNoSuchFile   ? "not found"
                      : message == kUnreadable ? "unreadable"
                      : message == kWriteFailedKept ? "parts not written, source kept"
                                                  : "unexpected message";
            EXPECT_NE(outcome, "unexpected message") << testing::PrintToString(message);
        }
        std::cout << "  " << length << "-byte path: " << outcome << "\n";
    }
}

}  // namespace
