// Faults in the file layer during a run: every call failing in turn, files in the way of the
// parts, a source that another program holds, changes or protects. Whatever fails, the source
// keeps its bytes unless every one of them reached the part files.
#include <gtest/gtest.h>

#include <algorithm>
#include <iostream>
#include <string>
#include <vector>

#include "file_faults.h"
#include "split_job.h"
#include "split_outcome.h"
#include "test_files.h"

namespace {

const char* const kNoSuchFile = "文件不存在！";
const char* const kUnreadable = "文件无法读取！";

struct ModeRun {
    SplitMode mode;
    size_t size;  // of the source, large enough for three parts
};
const ModeRun kModeRuns[] = {
    {SplitMode::TwoFiles, 1001},
    {SplitMode::ThreeFiles, 1001},
    {SplitMode::Pieces500000, 1250000},
    {SplitMode::Pieces1000000, 2100000},
};

const std::string kChangedKept = "原文件在分割期间被其他程序改动！\r\n原文件已保留。";

const char* ModeName(SplitMode mode) {
    switch (mode) {
        case SplitMode::TwoFiles: return "two files";
        case SplitMode::ThreeFiles: return "three files";
        case SplitMode::Pieces500000: return "500,000-byte pieces";
        default: return "1,000,000-byte pieces";
    }
}

const char* CallName(FileCall call) {
    static const char* const names[] = {"Find", "Open", "Measure", "Read", "Create",
                                        "Write", "Flush", "Close", "Check", "Delete"};
    return names[static_cast<int>(call)];
}

// Clears the fault and the watcher even when an assertion leaves the test early.
struct SeamReset {
    ~SeamReset() {
        ArmFileFault(0);
        WatchFileCalls(nullptr);
    }
};

// True where the platform has share modes, so that another opener can lock a file.
bool ShareModesExist() {
    TestFolder folder;
    WriteFileBytes(folder / "probe", "x");
    return FileHolder(folder / "probe", FileHolder::Sharing::None).Held();
}

// Fails the first, second, ... call of the file layer in a run, for each mode with and without
// the delete flag, and checks what the run left and said after each.
TEST(FileFaults, EveryFileCallFailsInTurn) {
    SeamReset reset;
    for (const ModeRun& run : kModeRuns) {
        for (const bool deleteSource : {false, true}) {
            SCOPED_TRACE(std::string(ModeName(run.mode)) + (deleteSource ? ", delete flag set" : ", delete flag clear"));
            const std::string content = ChineseText(run.size);
            const std::vector<std::string> model = ModelParts(content, run.mode);

            // A run without faults gives the calls in order.
            std::vector<FileCall> calls;
            {
                TestFolder folder;
                WriteFileBytes(folder / "s.txt", content);
                ArmFileFault(0);
                WatchFileCalls([&](FileCall call) { calls.push_back(call); });
                const auto messages = RunCollecting(folder / "s.txt", run.mode, deleteSource);
                WatchFileCalls(nullptr);
                ASSERT_TRUE(messages.empty());
                ExpectParts(ModelPartPaths(folder.Path(), "s", run.mode, model.size()), model);
                ASSERT_EQ(PathExists(folder / "s.txt"), !deleteSource);
            }
            std::cout << "  " << ModeName(run.mode) << (deleteSource ? ", delete flag set: " : ": ") << calls.size()
                      << " file calls, each failed in turn\n";
            const auto firstCreate = std::find(calls.begin(), calls.end(), FileCall::Create) - calls.begin();
            ASSERT_LT(firstCreate, static_cast<long>(calls.size()));

            for (size_t k = 1; k <= calls.size(); ++k) {
                const FileCall call = calls[k - 1];
                SCOPED_TRACE("call " + std::to_string(k) + " of " + std::to_string(calls.size()) + ", " +
                             CallName(call) + " fails");
                TestFolder folder;
                const ByteText source = folder / "s.txt";
                const auto parts = ModelPartPaths(folder.Path(), "s", run.mode, model.size());
                WriteFileBytes(source, content);

                ArmFileFault(static_cast<int64_t>(k));
                const auto messages = RunCollecting(source, run.mode, deleteSource);
                const bool fired = FileFaultFired();
                const FileCall failed = FailedFileCall();
                ArmFileFault(0);
                ASSERT_TRUE(fired);
                EXPECT_EQ(failed, call);
                ExpectNothingLost(source, content, parts, messages);

                const bool beforeAnyPart = static_cast<long>(k - 1) < firstCreate;
                if (call == FileCall::Find) {
                    EXPECT_EQ(messages, std::vector<std::string>{kNoSuchFile});
                    EXPECT_EQ(folder.Names(), std::vector<std::string>{"s.txt"});
                } else if (beforeAnyPart && call != FileCall::Close) {
                    // Open, measuring the length before or after the read, the read itself.
                    EXPECT_EQ(messages, std::vector<std::string>{kUnreadable});
                    EXPECT_EQ(folder.Names(), std::vector<std::string>{"s.txt"});
                } else if (beforeAnyPart) {
                    // The source was read whole before its close failed; nothing is missing.
                    EXPECT_TRUE(messages.empty());
                    ExpectParts(parts, model);
                    EXPECT_EQ(PathExists(source), !deleteSource);
                } else if (call == FileCall::Check) {
                    // The source cannot be confirmed unchanged, so it stays and the run says so.
                    EXPECT_EQ(messages, std::vector<std::string>{kChangedKept});
                    EXPECT_TRUE(PathExists(source));
                    ExpectParts(parts, model);
                } else if (call == FileCall::Delete) {
                    EXPECT_TRUE(messages.empty());
                    EXPECT_TRUE(PathExists(source));
                    ExpectParts(parts, model);
                } else {
                    // Creating, writing, flushing or closing one part; the others are complete.
                    EXPECT_EQ(messages, std::vector<std::string>{WriteFailedMessage(deleteSource)});
                    EXPECT_TRUE(PathExists(source));
                    const auto failedPart = std::count(calls.begin(), calls.begin() + k, FileCall::Create);
                    for (size_t n = 1; n <= parts.size(); ++n) {
                        if (static_cast<long>(n) == failedPart) continue;
                        EXPECT_EQ(ReadFileBytes(parts[n - 1]), model[n - 1]) << "part " << n;
                    }
                }
            }
        }
    }
}

// A file or folder where a part must go: that part fails, the others are written, the source
// stays whatever the delete flag says, and what was in the way is untouched.
TEST(FileFaults, SomethingInThePartsWay) {
    enum class Obstacle { ReadOnlyFile, Folder, FileHeldWithoutSharing };
    struct Case {
        const char* label;
        Obstacle obstacle;
        SplitMode mode;
        size_t size;
        int blockedPart;
    } cases[] = {
        {"read-only second half", Obstacle::ReadOnlyFile, SplitMode::TwoFiles, 11, 2},
        {"folder as the first third", Obstacle::Folder, SplitMode::ThreeFiles, 10, 1},
        {"read-only last third", Obstacle::ReadOnlyFile, SplitMode::ThreeFiles, 10, 3},
        {"folder as the second piece", Obstacle::Folder, SplitMode::Pieces500000, 1100000, 2},
        {"read-only empty last piece", Obstacle::ReadOnlyFile, SplitMode::Pieces1000000, 2000000, 3},
        {"held second half", Obstacle::FileHeldWithoutSharing, SplitMode::TwoFiles, 11, 2},
        {"held third piece", Obstacle::FileHeldWithoutSharing, SplitMode::Pieces500000, 1250000, 3},
    };
    const bool shareModes = ShareModesExist();
    for (const Case& c : cases) {
        if (c.obstacle == Obstacle::FileHeldWithoutSharing && !shareModes) continue;  // no such lock here
        for (const bool deleteSource : {false, true}) {
            SCOPED_TRACE(std::string(c.label) + (deleteSource ? ", delete flag set" : ""));
            TestFolder folder;
            const ByteText source = folder / "s.txt";
            const std::string content = ChineseText(c.size);
            const auto model = ModelParts(content, c.mode);
            const auto parts = ModelPartPaths(folder.Path(), "s", c.mode, model.size());
            WriteFileBytes(source, content);
            const ByteText blocked = parts[c.blockedPart - 1];
            if (c.obstacle == Obstacle::Folder) {
                MakeFolder(blocked);
            } else {
                WriteFileBytes(blocked, "in the way");
                if (c.obstacle == Obstacle::ReadOnlyFile) SetReadOnly(blocked, true);
            }
            std::vector<std::string> messages;
            if (c.obstacle == Obstacle::FileHeldWithoutSharing) {
                const FileHolder holder(blocked, FileHolder::Sharing::None);
                ASSERT_TRUE(holder.Held());
                messages = RunCollecting(source, c.mode, deleteSource);
            } else {
                messages = RunCollecting(source, c.mode, deleteSource);
            }
            EXPECT_EQ(messages, std::vector<std::string>{WriteFailedMessage(deleteSource)});
            EXPECT_EQ(ReadFileBytes(source), content);
            for (size_t n = 1; n <= parts.size(); ++n) {
                if (static_cast<int>(n) == c.blockedPart) continue;
                EXPECT_EQ(ReadFileBytes(parts[n - 1]), model[n - 1]) << "part " << n;
            }
            if (c.obstacle == Obstacle::Folder) {
                EXPECT_TRUE(PathExists(blocked));
            } else {
                EXPECT_EQ(ReadFileBytes(blocked), "in the way");
                SetReadOnly(blocked, false);
            }
        }
    }
}

// A run with every reason to keep the source names them all, one a line, in a fixed order.
TEST(FileFaults, EveryReasonAtOnce) {
    TestFolder folder;
    const ByteText source = folder / "s.txt";
    std::string content = ChineseText(10000010);
    size_t nul = 10000005;  // after a single-byte character, so the text ends right there
    while (static_cast<unsigned char>(content[nul - 1]) >= 0x80) ++nul;
    content[nul] = '\0';
    WriteFileBytes(source, content);
    const ByteText blocked = folder / "s_3.TXT";
    WriteFileBytes(blocked, "in the way");
    SetReadOnly(blocked, true);
    for (const bool deleteSource : {false, true}) {
        SCOPED_TRACE(deleteSource ? "delete flag set" : "delete flag clear");
        const std::string expected = std::string(
                                         "分割文件超过20个，只写入了前20个！\r\n"
                                         "有分割文件写入失败！\r\n"
                                         "文件含有结束字符，其后的内容没有分割！") +
                                     (deleteSource ? "\r\n原文件已保留。" : "");
        EXPECT_EQ(RunCollecting(source, SplitMode::Pieces500000, deleteSource), std::vector<std::string>{expected});
        EXPECT_TRUE(ReadFileBytes(source) == content);
        const auto model = ModelParts(content.substr(0, nul), SplitMode::Pieces500000);
        ASSERT_EQ(model.size(), 20u);
        for (size_t n = 1; n <= 20; ++n) {
            if (n == 3) continue;
            EXPECT_TRUE(ReadFileBytes(folder / ("s_" + std::to_string(n) + ".TXT")) == model[n - 1]) << "part " << n;
        }
        EXPECT_EQ(ReadFileBytes(blocked), "in the way");
        EXPECT_FALSE(PathExists(folder / "s_21.TXT"));
    }
    SetReadOnly(blocked, false);
}

// Another program holds the source: without sharing it cannot be read and nothing is written;
// sharing reading and writing but not deletion, the split goes through and the source stays.
TEST(FileFaults, SourceHeldByAnotherOpener) {
    if (!ShareModesExist()) GTEST_SKIP() << "this platform has no share modes, so no opener can lock a file";
    for (const SplitMode mode : {SplitMode::TwoFiles, SplitMode::Pieces500000}) {
        SCOPED_TRACE(ModeName(mode));
        TestFolder folder;
        const ByteText source = folder / "s.txt";
        const std::string content = ChineseText(1100000);
        WriteFileBytes(source, content);
        {
            const FileHolder holder(source, FileHolder::Sharing::None);
            ASSERT_TRUE(holder.Held());
            EXPECT_EQ(RunCollecting(source, mode, true), std::vector<std::string>{kUnreadable});
        }
        EXPECT_EQ(folder.Names(), std::vector<std::string>{"s.txt"});
        {
            const FileHolder holder(source, FileHolder::Sharing::ReadWrite);
            ASSERT_TRUE(holder.Held());
            EXPECT_TRUE(RunCollecting(source, mode, true).empty());
        }
        EXPECT_EQ(ReadFileBytes(source), content);
        const auto model = ModelParts(content, mode);
        ExpectParts(ModelPartPaths(folder.Path(), "s", mode, model.size()), model);
    }
}

// Another program changes the source while it is being read: what was read is no longer the
// file, so nothing is cut, written or deleted.
TEST(FileFaults, SourceChangedWhileRead) {
    SeamReset reset;
    const std::string content = ChineseText(1200000);
    struct Case {
        const char* label;
        FileCall when;      // the change comes just before this call
        int occurrence;     // of that call in the run
        std::string after;  // the file's new content
    } cases[] = {
        {"grows before the read", FileCall::Read, 1, content + "appended"},
        {"shrinks before the read", FileCall::Read, 1, content.substr(0, 600000)},
        {"grows after the read", FileCall::Measure, 2, content + "x"},
        {"shrinks after the read", FileCall::Measure, 2, content.substr(0, 1)},
        {"emptied after the read", FileCall::Measure, 2, ""},
    };
    for (const Case& c : cases) {
        for (const SplitMode mode : {SplitMode::ThreeFiles, SplitMode::Pieces500000}) {
            SCOPED_TRACE(std::string(c.label) + ", " + ModeName(mode));
            TestFolder folder;
            const ByteText source = folder / "s.txt";
            WriteFileBytes(source, content);
            int seen = 0;
            bool changed = false;
            WatchFileCalls([&](FileCall call) {
                if (call == c.when && ++seen == c.occurrence) changed = ChangeFileShared(source, c.after);
            });
            const auto messages = RunCollecting(source, mode, true);
            WatchFileCalls(nullptr);
            ASSERT_TRUE(changed);
            EXPECT_EQ(messages, std::vector<std::string>{kUnreadable});
            EXPECT_EQ(folder.Names(), std::vector<std::string>{"s.txt"});
            EXPECT_TRUE(ReadFileBytes(source) == c.after);
        }
    }
}

// Another program writes to the source after it was read, while the parts are being written:
// the parts hold the old content, so the source must not be deleted.
TEST(FileFaults, SourceChangedAfterTheRead) {
    SeamReset reset;
    const std::string content = ChineseText(1200000);
    std::string sameLength = content;
    sameLength[5] = 'X';
    struct Case {
        const char* label;
        FileCall when;
        std::string after;
    } cases[] = {
        {"appended to while the first part is made", FileCall::Create, content + "more"},
        {"rewritten in place, same length", FileCall::Create, sameLength},
        {"shortened just before the deletion", FileCall::Check, content.substr(0, 10)},
    };
    for (const Case& c : cases) {
        for (const SplitMode mode : {SplitMode::TwoFiles, SplitMode::Pieces500000}) {
            SCOPED_TRACE(std::string(c.label) + ", " + ModeName(mode));
            TestFolder folder;
            const ByteText source = folder / "s.txt";
            WriteFileBytes(source, content);
            bool changed = false;
            WatchFileCalls([&](FileCall call) {
                if (call == c.when && !changed) changed = ChangeFileShared(source, c.after);
            });
            const auto messages = RunCollecting(source, mode, true);
            WatchFileCalls(nullptr);
            ASSERT_TRUE(changed);
            EXPECT_EQ(messages, std::vector<std::string>{kChangedKept});
            EXPECT_TRUE(ReadFileBytes(source) == c.after);
            const auto model = ModelParts(content, mode);
            ExpectParts(ModelPartPaths(folder.Path(), "s", mode, model.size()), model);
        }
    }
}

// The deletion is refused after every part was written: the parts and the source both stay,
// and the run says nothing more.
TEST(FileFaults, RefusedDeletionKeepsBoth) {
    SeamReset reset;
    for (const ModeRun& run : kModeRuns) {
        SCOPED_TRACE(ModeName(run.mode));
        TestFolder folder;
        const ByteText source = folder / "s.txt";
        const std::string content = ChineseText(run.size);
        WriteFileBytes(source, content);
        WatchFileCalls([&](FileCall call) {
            if (call == FileCall::Delete) SetReadOnly(source, true);
        });
        const auto messages = RunCollecting(source, run.mode, true);
        WatchFileCalls(nullptr);
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(ReadFileBytes(source), content);
        const auto model = ModelParts(content, run.mode);
        ExpectParts(ModelPartPaths(folder.Path(), "s", run.mode, model.size()), model);
        SetReadOnly(source, false);
    }
}

}  // namespace
