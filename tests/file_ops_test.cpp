#include "file_ops.h"

#include <gtest/gtest.h>

#include "file_faults.h"
#include "test_files.h"

namespace {

// Reads a file through the engine the way the split job does.
WholeRead ReadThroughEngine(const ByteText& path) {
    const FileNumber file = OpenFileReadWrite(path);
    WholeRead read = ReadWholeFile(file);
    CloseFileNumber(file);
    return read;
}

// n printable bytes in a pattern that does not repeat every power of two, so a piece that is
// written or read at the wrong offset shows.
std::string Patterned(size_t n) {
    std::string bytes(n, ' ');
    for (size_t i = 0; i < n; ++i) bytes[i] = static_cast<char>(0x20 + i * 7 % 95);
    return bytes;
}

TEST(FileOps, FileExistsLikeADirectorySearch) {
    TestFolder folder;
    WriteFileBytes(folder / "report.txt", "x");
    MakeFolder(folder / "sub.dir");
    struct Case {
        ByteText path;
        bool exists;
    } cases[] = {
        {folder / "report.txt", true},
        {folder / "sub.dir", true},  // a directory counts
        {folder / "*.txt", true},    // a pattern counts when anything matches
        {folder / "*.TXT", true},    // without regard to case
        {folder / "rep?rt.txt", true},
        {folder / "*.log", false},
        {folder / "missing.txt", false},
        {ConcatTexts({folder.Path(), "\\"}), false},  // ends in a backslash
        {folder / "sub.dir\\", false},
        {ByteText(), false},
    };
    for (const Case& c : cases) EXPECT_EQ(FileExists(c.path), c.exists) << c.path.CString();
}

TEST(FileOps, OpenRefusesWhatItCannotWrite) {
    TestFolder folder;
    WriteFileBytes(folder / "ok.txt", "data");
    WriteFileBytes(folder / "locked.txt", "data");
    SetReadOnly(folder / "locked.txt", true);
    MakeFolder(folder / "dir");
    struct Case {
        ByteText path;
        bool opens;
    } cases[] = {
        {folder / "ok.txt", true},     {folder / "locked.txt", false}, {folder / "dir", false},
        {folder / "*.txt", false},     {folder / "missing.txt", false}, {ByteText(), false},
    };
    for (const Case& c : cases) {
        const FileNumber file = OpenFileReadWrite(c.path);
        EXPECT_EQ(file != 0, c.opens) << c.path.CString();
        CloseFileNumber(file);
    }
    EXPECT_EQ(ReadFileBytes(folder / "locked.txt"), "data");
    SetReadOnly(folder / "locked.txt", false);
}

TEST(FileOps, ReadKeepsTheTextUpToItsEnd) {
    TestFolder folder;
    struct Case {
        std::string content;
        std::string text;
    } cases[] = {
        {"", ""},
        {"line one\r\nline two\r\n", "line one\r\nline two\r\n"},  // CR LF untouched
        {std::string("\x41\x42\x1A\x43", 4), "\x41\x42"},
        {std::string("\x41\x81\x1A\x42", 4), std::string("\x41\x81\x1A\x42", 4)},
        {std::string("\x41\x81\x00\x42", 4), "\x41"},
        {std::string("\x41\x81", 2), "\x41\x81"},
        {std::string("\0abc", 4), ""},
        {std::string("abc\0def", 7), "abc"},
        {std::string("\xFF\xFE\x41\x00", 4), "\xFF\xFE\x41"},
        {"\xC4\xE3\xBA\xC3\xA3\xAC\xCA\xC0\xBD\xE7", "\xC4\xE3\xBA\xC3\xA3\xAC\xCA\xC0\xBD\xE7"},
        // Longer than a few huge pages of the read buffer, whole or ending just before its end.
        {Patterned(5 << 20), Patterned(5 << 20)},
        {Patterned((5 << 20) - 3) + "\x1A" + "xy", Patterned((5 << 20) - 3)},
    };
    for (const Case& c : cases) {
        WriteFileBytes(folder / "in.txt", c.content);
        const WholeRead read = ReadThroughEngine(folder / "in.txt");
        EXPECT_EQ(read.status, ReadStatus::Read);
        EXPECT_EQ(read.text.View(), c.text) << testing::PrintToString(c.content);
        EXPECT_EQ(read.fileLength, static_cast<int64_t>(c.content.size()));
    }
}

TEST(FileOps, ReadFailuresGiveTheEmptyText) {
    TestFolder folder;
    EXPECT_EQ(ReadWholeFile(0).status, ReadStatus::NotOpen);
    EXPECT_TRUE(ReadWholeText(0).Empty());
    EXPECT_TRUE(ReadWholeText(12345).Empty());
    CloseFileNumber(0);  // nothing happens

    WriteFileBytes(folder / "a.txt", "abc");
    const FileNumber file = OpenFileReadWrite(folder / "a.txt");
    ASSERT_NE(file, 0);
    CloseFileNumber(file);
    CloseFileNumber(file);  // a second close does nothing
    EXPECT_EQ(ReadWholeFile(file).status, ReadStatus::NotOpen);

    ASSERT_TRUE(MakeSparseFile(folder / "huge.txt", 2147483648LL));
    const WholeRead huge = ReadThroughEngine(folder / "huge.txt");
    EXPECT_EQ(huge.status, ReadStatus::TooLarge);
    EXPECT_TRUE(huge.text.Empty());
}

TEST(FileOps, FileNumbersAreDistinctWhileOpen) {
    TestFolder folder;
    WriteFileBytes(folder / "a.txt", "a");
    WriteFileBytes(folder / "b.txt", "b");
    const FileNumber a = OpenFileReadWrite(folder / "a.txt");
    const FileNumber b = OpenFileReadWrite(folder / "b.txt");
    EXPECT_NE(a, 0);
    EXPECT_NE(b, 0);
    EXPECT_NE(a, b);
    EXPECT_EQ(ReadWholeText(b).View(), "b");
    EXPECT_EQ(ReadWholeText(a).View(), "a");
    CloseFileNumber(a);
    CloseFileNumber(b);
}

TEST(FileOps, WriteReplacesWholeContent) {
    TestFolder folder;
    const ByteText path = folder / "part_01.TXT";
    struct Case {
        std::string before;  // empty: no file yet
        std::string bytes;
    } cases[] = {
        {"", "fresh"},
        {"a much longer earlier content", "short"},
        {"something", ""},  // zero bytes leave an empty file
        {"", std::string("bin\0ary\x1A", 8)},
        // Around the size of one write call of the backends (1 MiB) and several of them.
        {"", Patterned(1 << 20)},
        {"", Patterned((1 << 20) + 1)},
        {"earlier", Patterned((3 << 20) - 1)},
    };
    for (const Case& c : cases) {
        if (!c.before.empty()) WriteFileBytes(path, c.before);
        EXPECT_TRUE(WriteBytesToFile(path, ByteSequence(c.bytes)));
        EXPECT_EQ(ReadFileBytes(path), c.bytes);
        EXPECT_TRUE(WriteBytesToFile(path, ByteSequence(c.bytes), Durability::Flushed));
        EXPECT_EQ(ReadFileBytes(path), c.bytes);
        RemoveFile(path);
    }
}

TEST(FileOps, WriteRefusalsLeaveThingsAsTheyWere) {
    TestFolder folder;
    WriteFileBytes(folder / "locked.TXT", "keep me");
    SetReadOnly(folder / "locked.TXT", true);
    MakeFolder(folder / "dir.TXT");
    EXPECT_FALSE(WriteBytesToFile(folder / "locked.TXT", ByteSequence("new")));
    EXPECT_EQ(ReadFileBytes(folder / "locked.TXT"), "keep me");
    EXPECT_FALSE(WriteBytesToFile(folder / "dir.TXT", ByteSequence("new")));
    EXPECT_FALSE(WriteBytesToFile(folder / "no-such-dir\\a.TXT", ByteSequence("new")));
    EXPECT_FALSE(WriteBytesToFile(ByteText(), ByteSequence("new")));
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"dir.TXT", "locked.TXT"}));
    SetReadOnly(folder / "locked.TXT", false);
}

TEST(FileOps, RemoveFileRefusesWhatWindowsRefuses) {
    TestFolder folder;
    WriteFileBytes(folder / "gone.txt", "x");
    WriteFileBytes(folder / "locked.txt", "x");
    SetReadOnly(folder / "locked.txt", true);
    MakeFolder(folder / "dir");
    EXPECT_TRUE(RemoveFile(folder / "gone.txt"));
    EXPECT_FALSE(PathExists(folder / "gone.txt"));
    EXPECT_FALSE(RemoveFile(folder / "gone.txt"));
    EXPECT_FALSE(RemoveFile(folder / "locked.txt"));
    EXPECT_TRUE(PathExists(folder / "locked.txt"));
    EXPECT_FALSE(RemoveFile(folder / "dir"));
    EXPECT_FALSE(RemoveFile(folder / "*.txt"));
    EXPECT_FALSE(RemoveFile(ByteText()));
    EXPECT_TRUE(PathExists(folder / "locked.txt"));
    SetReadOnly(folder / "locked.txt", false);
}

TEST(FileOps, DoubleByteNamesWithABackslashTrail) {
    TestFolder folder;
    // 81 5C is one character; its second byte is not a separator.
    const ByteText path = folder / "\x81\x5C.txt";
    ASSERT_TRUE(WriteBytesToFile(path, ByteSequence("gbk")));
    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(ReadThroughEngine(path).text.View(), "gbk");
    EXPECT_TRUE(RemoveFile(path));
}

TEST(FileOps, FaultSeamFailsTheArmedCall) {
    TestFolder folder;
    const ByteText path = folder / "a.TXT";
    ArmFileFault(2);  // create, then write
    EXPECT_FALSE(WriteBytesToFile(path, ByteSequence("abc")));
    EXPECT_TRUE(FileFaultFired());
    EXPECT_EQ(FailedFileCall(), FileCall::Write);
    EXPECT_EQ(ReadFileBytes(path), "");  // created, emptied, nothing written
    ArmFileFault(0);
    EXPECT_TRUE(WriteBytesToFile(path, ByteSequence("abc")));
    EXPECT_EQ(FileCallCount(), 3);  // create, write, close
}

TEST(FileOps, RunDirectoryIsTheProgramsFolder) {
    const ByteText directory = RunDirectory();
    ASSERT_FALSE(directory.Empty());
    EXPECT_NE(directory.View().back(), '\\');
    EXPECT_EQ(RunDirectory(), directory);  // fixed once
    // The test program itself lies in that folder, which is now the current directory.
    EXPECT_TRUE(FileExists("*engine_tests*"));
}

}  // namespace
