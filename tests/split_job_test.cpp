#include "split_job.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "file_faults.h"
#include "file_ops.h"
#include "file_platform.h"
#include "split_outcome.h"
#include "test_files.h"

namespace {

struct Part {
    std::string name;
    size_t size;
};

struct Case {
    const char* label;
    std::string source;  // path below the test folder
    std::string content;
    SplitMode mode;
    bool deleteSource;
    std::vector<Part> parts;  // in part order
    std::string message;      // empty: the run ends silently
    bool sourceKept;
    std::string joined = "\x01";  // what the parts give joined; "\x01": the whole content
};

const std::string kEndedEarlyKept =
    "文件含有结束字符，其后的内容没有分割！\r\n原文件已保留。";

std::vector<Case> Cases() {
    const std::string hello = "hello world";  // 11 bytes
    return {
        {"two files", "report.txt", hello, SplitMode::TwoFiles, true,
         {{"report_01.TXT", 5}, {"report_02.TXT", 6}}, "", false},
        {"three files", "report.txt", hello, SplitMode::ThreeFiles, true,
         {{"report_01.TXT", 3}, {"report_02.TXT", 3}, {"report_03.TXT", 5}}, "", false},
        {"three files of 9", "r.txt", "123456789", SplitMode::ThreeFiles, false,
         {{"r_01.TXT", 3}, {"r_02.TXT", 3}, {"r_03.TXT", 3}}, "", true},
        {"five bytes in two", "r.txt", "12345", SplitMode::TwoFiles, false,
         {{"r_01.TXT", 2}, {"r_02.TXT", 3}}, "", true},
        {"five bytes in three", "r.txt", "12345", SplitMode::ThreeFiles, false,
         {{"r_01.TXT", 1}, {"r_02.TXT", 1}, {"r_03.TXT", 3}}, "", true},
        {"one byte in two", "r.txt", "x", SplitMode::TwoFiles, false, {{"r_01.TXT", 0}, {"r_02.TXT", 1}}, "", true},
        {"one byte in three", "r.txt", "x", SplitMode::ThreeFiles, false,
         {{"r_01.TXT", 0}, {"r_02.TXT", 0}, {"r_03.TXT", 1}}, "", true},
        {"empty file in two", "r.txt", "", SplitMode::TwoFiles, true, {{"r_01.TXT", 0}, {"r_02.TXT", 0}}, "", false},
        {"empty file in three", "r.txt", "", SplitMode::ThreeFiles, false,
         {{"r_01.TXT", 0}, {"r_02.TXT", 0}, {"r_03.TXT", 0}}, "", true},
        {"no dot", "README", hello, SplitMode::TwoFiles, false, {{"_01.TXT", 5}, {"_02.TXT", 6}}, "", true},
        {"leading dot", ".txt", hello, SplitMode::TwoFiles, false, {{"_01.TXT", 5}, {"_02.TXT", 6}}, "", true},
        {"several dots", "a.b.txt", hello, SplitMode::TwoFiles, false, {{"a.b_01.TXT", 5}, {"a.b_02.TXT", 6}}, "", true},
        {"trailing dot", "a.", hello, SplitMode::TwoFiles, false, {{"a_01.TXT", 5}, {"a_02.TXT", 6}}, "", true},
        {"other extension", "x.log", hello, SplitMode::TwoFiles, false, {{"x_01.TXT", 5}, {"x_02.TXT", 6}}, "", true},
        {"dot only in the folder", "old.files\\notes", hello, SplitMode::TwoFiles, false,
         {{"old.files\\_01.TXT", 5}, {"old.files\\_02.TXT", 6}}, "", true},
        {"backslash trail byte", "\x81\x5C.txt", hello, SplitMode::TwoFiles, true,
         {{"\x81\x5C_01.TXT", 5}, {"\x81\x5C_02.TXT", 6}}, "", false},
        {"double-byte text cut mid-character", "cn.txt", ChineseText(1001), SplitMode::ThreeFiles, true,
         {{"cn_01.TXT", 333}, {"cn_02.TXT", 333}, {"cn_03.TXT", 335}}, "", false},
        {"text ends at a NUL", "z.txt", std::string("abc\0def", 7), SplitMode::TwoFiles, true,
         {{"z_01.TXT", 1}, {"z_02.TXT", 2}}, kEndedEarlyKept, true, "abc"},
        {"text ends at 1A, source not to be deleted", "z.txt", "abcd\x1A" "ef", SplitMode::TwoFiles, false,
         {{"z_01.TXT", 2}, {"z_02.TXT", 2}}, "文件含有结束字符，其后的内容没有分割！", true, "abcd"},
        {"missing source", "missing.txt", "", SplitMode::TwoFiles, true, {}, "文件不存在！", false},
        {"piece size exactly", "p.txt", ChineseText(500000), SplitMode::Pieces500000, true, {}, "文件不用分割！", true},
        {"empty source in pieces", "p.txt", "", SplitMode::Pieces1000000, true, {}, "文件不用分割！", true},
        {"one byte over a piece", "p.txt", ChineseText(500001), SplitMode::Pieces500000, true,
         {{"p_1.TXT", 500000}, {"p_2.TXT", 1}}, "", false},
        {"two pieces exactly", "p.txt", ChineseText(1000000), SplitMode::Pieces500000, true,
         {{"p_1.TXT", 500000}, {"p_2.TXT", 500000}, {"p_3.TXT", 0}}, "", false},
        {"two and a half pieces", "p.txt", ChineseText(1250000), SplitMode::Pieces500000, false,
         {{"p_1.TXT", 500000}, {"p_2.TXT", 500000}, {"p_3.TXT", 250000}}, "", true},
        {"1 MB pieces", "p.txt", ChineseText(2000000), SplitMode::Pieces1000000, true,
         {{"p_1.TXT", 1000000}, {"p_2.TXT", 1000000}, {"p_3.TXT", 0}}, "", false},
        {"1 MB exactly", "p.txt", ChineseText(1000000), SplitMode::Pieces1000000, true, {}, "文件不用分割！", true},
    };
}

void ExpectRun(const Case& c) {
    SCOPED_TRACE(c.label);
    TestFolder root;
    // A source in a subfolder keeps its parts there; the subfolder is then the folder checked.
    const size_t slash = c.source.find(".files\\");
    const std::string subfolder = slash == std::string::npos ? "" : c.source.substr(0, slash + 6);
    if (!subfolder.empty()) MakeFolder(root / subfolder);
    const auto path = [&](const std::string& name) { return root / name; };
    if (c.label != std::string("missing source")) WriteFileBytes(path(c.source), c.content);
    std::vector<std::string> messages;
    RunSplitJob(path(c.source), c.mode, c.deleteSource,
                [&](const ByteText& text) { messages.push_back(std::string(text.View())); });

    EXPECT_EQ(messages, c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
    EXPECT_EQ(PathExists(path(c.source)), c.sourceKept);
    if (c.sourceKept && PathExists(path(c.source))) {
        EXPECT_TRUE(ReadFileBytes(path(c.source)) == c.content);
    }
    std::string joined;
    for (const Part& part : c.parts) {
        const auto bytes = ReadFileBytes(path(part.name));
        ASSERT_TRUE(bytes.has_value()) << part.name;
        EXPECT_EQ(bytes->size(), part.size) << part.name;
        joined += *bytes;
    }
    const std::string expected = c.parts.empty() ? "" : c.joined == "\x01" ? c.content : c.joined;
    EXPECT_TRUE(joined == expected) << "joined parts differ from the text: " << joined.size() << " vs "
                                    << expected.size() << " bytes";
    // Nothing else appears beside the source, nor outside its folder.
    if (subfolder.empty()) {
        EXPECT_EQ(root.Names().size(), c.parts.size() + (c.sourceKept ? 1 : 0));
    } else {
        EXPECT_EQ(root.Names(), std::vector<std::string>{subfolder});
    }
}

TEST(SplitJob, CutsNamesAndMessages) {
    for (const Case& c : Cases()) ExpectRun(c);
}

TEST(SplitJob, ExistingPartsAreReplaced) {
    TestFolder folder;
    WriteFileBytes(folder / "a.txt", "0123456789");
    WriteFileBytes(folder / "a_01.TXT", "an old and much longer part");
    RunSplitJob(folder / "a.txt", SplitMode::TwoFiles, false, [](const ByteText&) { FAIL(); });
    EXPECT_EQ(ReadFileBytes(folder / "a_01.TXT"), "01234");
    EXPECT_EQ(ReadFileBytes(folder / "a_02.TXT"), "56789");
}

TEST(SplitJob, TwentyPiecesAtMost) {
    struct Case {
        size_t size;
        std::string message;
        bool sourceKept;
    } cases[] = {
        {20 * 500000 - 1, "", false},
        {20 * 500000, "分割文件超过20个，只写入了前20个！\r\n原文件已保留。", true},
        {20 * 500000 + 7, "分割文件超过20个，只写入了前20个！\r\n原文件已保留。", true},
    };
    for (const Case& c : cases) {
        TestFolder folder;
        const std::string content = ChineseText(c.size);
        WriteFileBytes(folder / "big.txt", content);
        std::vector<std::string> messages;
        RunSplitJob(folder / "big.txt", SplitMode::Pieces500000, true,
                    [&](const ByteText& text) { messages.push_back(std::string(text.View())); });
        EXPECT_EQ(messages, c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
        EXPECT_EQ(PathExists(folder / "big.txt"), c.sourceKept);
        std::string joined;
        for (int n = 1; n <= 20; ++n) joined += ReadFileBytes(folder / ("big_" + std::to_string(n) + ".TXT")).value_or("?");
        EXPECT_EQ(joined, content.substr(0, 20 * 500000));
        EXPECT_FALSE(PathExists(folder / "big_21.TXT"));
    }
}

// Sources that cannot be read whole are never cut and never deleted.
TEST(SplitJob, UnreadableSourcesSurvive) {
    TestFolder folder;
    WriteFileBytes(folder / "locked.txt", "hello world");
    SetReadOnly(folder / "locked.txt", true);
    MakeFolder(folder / "dir");
    ASSERT_TRUE(MakeSparseFile(folder / "huge.txt", 2147483648LL));
    struct Case {
        ByteText path;
        SplitMode mode;
        std::string message;
    } cases[] = {
        {folder / "locked.txt", SplitMode::TwoFiles, "文件无法读取！"},
        {folder / "locked.txt", SplitMode::Pieces500000, "文件无法读取！"},
        {folder / "dir", SplitMode::TwoFiles, "文件无法读取！"},
        {folder / "*.txt", SplitMode::ThreeFiles, "文件无法读取！"},
        {folder / "huge.txt", SplitMode::TwoFiles, "文件太大，无法分割！"},
        {folder / "huge.txt", SplitMode::Pieces1000000, "文件太大，无法分割！"},
        {ByteText(), SplitMode::TwoFiles, "文件不存在！"},
        {folder / "dir\\", SplitMode::TwoFiles, "文件不存在！"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> messages;
        RunSplitJob(c.path, c.mode, true, [&](const ByteText& text) { messages.push_back(std::string(text.View())); });
        EXPECT_EQ(messages, std::vector<std::string>{c.message}) << c.path.CString();
        EXPECT_EQ(folder.Names(), (std::vector<std::string>{"dir", "huge.txt", "locked.txt"})) << c.path.CString();
    }
    EXPECT_EQ(ReadFileBytes(folder / "locked.txt"), "hello world");
    SetReadOnly(folder / "locked.txt", false);
}

// A part that cannot be written keeps the source; the other parts are still written.
TEST(SplitJob, FailedPartWriteKeepsTheSource) {
    for (const bool deleteSource : {true, false}) {
        TestFolder folder;
        WriteFileBytes(folder / "s.txt", "0123456789AB");
        WriteFileBytes(folder / "s_02.TXT", "in the way");
        SetReadOnly(folder / "s_02.TXT", true);
        std::vector<std::string> messages;
        RunSplitJob(folder / "s.txt", SplitMode::ThreeFiles, deleteSource,
                    [&](const ByteText& text) { messages.push_back(std::string(text.View())); });
        const std::string expected = deleteSource ? "有分割文件写入失败！\r\n原文件已保留。" : "有分割文件写入失败！";
        EXPECT_EQ(messages, std::vector<std::string>{expected});
        EXPECT_EQ(ReadFileBytes(folder / "s.txt"), "0123456789AB");
        EXPECT_EQ(ReadFileBytes(folder / "s_01.TXT"), "0123");
        EXPECT_EQ(ReadFileBytes(folder / "s_02.TXT"), "in the way");
        EXPECT_EQ(ReadFileBytes(folder / "s_03.TXT"), "89AB");
        SetReadOnly(folder / "s_02.TXT", false);
    }
}

// A source whose deletion fails is left with its parts and no further message.
TEST(SplitJob, FailedDeletionIsNotReported) {
    TestFolder folder;
    WriteFileBytes(folder / "d.txt", "abcdef");
    ArmFileFault(0);
    RunSplitJob(folder / "d.txt", SplitMode::TwoFiles, true, [](const ByteText&) { FAIL(); });
    const int64_t calls = FileCallCount();  // the deletion is the last call of a run
    ASSERT_FALSE(PathExists(folder / "d.txt"));

    WriteFileBytes(folder / "d.txt", "abcdef");
    ArmFileFault(calls);
    RunSplitJob(folder / "d.txt", SplitMode::TwoFiles, true, [](const ByteText&) { FAIL(); });
    ArmFileFault(0);
    EXPECT_EQ(FailedFileCall(), FileCall::Delete);
    EXPECT_EQ(ReadFileBytes(folder / "d.txt"), "abcdef");
    EXPECT_EQ(ReadFileBytes(folder / "d_01.TXT"), "abc");
    EXPECT_EQ(ReadFileBytes(folder / "d_02.TXT"), "def");
}

TEST(SplitJob, BareNameResolvesInTheCurrentDirectory) {
    TestFolder folder;
    RunDirectory();  // fixes the run directory first, as start-up does
    ASSERT_TRUE(PlatformSetCurrentDirectory(folder.Path()));
    WriteFileBytes(folder / "bare.txt", "abcd");
    RunSplitJob("bare.txt", SplitMode::TwoFiles, true, [](const ByteText&) { FAIL(); });
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"bare_01.TXT", "bare_02.TXT"}));
    PlatformSetCurrentDirectory(RunDirectory());
}

TEST(SplitJob, SourceNameParts) {
    struct Case {
        const char* path;
        const char* directory;
        const char* baseName;
    } cases[] = {
        {"C:\\dir\\report.txt", "C:\\dir\\", "report"},
        {"report.txt", "", "report"},
        {"C:\\old.files\\notes", "C:\\old.files\\", ""},
        {"C:\\d\\.txt", "C:\\d\\", ""},
        {"a.b.txt", "", "a.b"},
        {"C:\\\x81\x5C\\x.txt", "C:\\\x81\x5C\\", "x"},
        {"C:\\d\x81\x5Cx.txt", "C:\\", "d\x81\x5Cx"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        const SourceName name = SplitSourcePath(c.path);
        EXPECT_EQ(name.directory.View(), c.directory) << c.path;
        EXPECT_EQ(name.baseName.View(), c.baseName) << c.path;
    }
    const SourceName report = SplitSourcePath("C:\\dir\\report.txt");
    EXPECT_EQ(PartFileName(report, SplitMode::ThreeFiles, 3).View(), "C:\\dir\\report_03.TXT");
    EXPECT_EQ(PartFileName(report, SplitMode::Pieces1000000, 12).View(), "C:\\dir\\report_12.TXT");
    EXPECT_EQ(PartFileName(report, SplitMode::Pieces500000, 1).View(), "C:\\dir\\report_1.TXT");
}

}  // namespace
