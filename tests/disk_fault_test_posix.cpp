// Real refusals of a POSIX system during a run: a disk that fills up while the parts are
// written, a file size limit that stops a later part, a source that is no regular file.
#include <signal.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <string>
#include <vector>

#include "file_platform.h"
#include "split_job.h"
#include "split_outcome.h"
#include "test_files.h"

namespace {

// A small memory file system mounted on a folder for as long as the value lives.
class SmallDisk {
public:
    SmallDisk(const ByteText& folder, const std::string& size) : native_(PlatformPathString(folder)) {
        MakeFolder(folder);
        const std::string options = "size=" + size;
        if (mount("tmpfs", native_.c_str(), "tmpfs", 0, options.c_str()) == 0) {
            mounted_ = true;
        } else {
            error_ = std::strerror(errno);
        }
    }
    ~SmallDisk() {
        if (mounted_) umount(native_.c_str());
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;
    bool Mounted() const { return mounted_; }
    const std::string& Error() const { return error_; }

private:
    std::string native_;
    bool mounted_ = false;
    std::string error_;
};

// The disk fills while the second or third part is written. The sizes leave room for the
// source and the first part only (a memory file system counts whole pages of 4 KiB).
TEST(DiskFaults, DiskFillsDuringALaterPart) {
    if (geteuid() != 0) GTEST_SKIP() << "mounting a small file system needs root";
    struct Case {
        SplitMode mode;
        const char* diskSize;
        size_t sourceSize;
    } cases[] = {
        {SplitMode::TwoFiles, "1m", 600000},         // 147 + 74 of 256 pages; the second half needs 74
        {SplitMode::ThreeFiles, "1m", 660000},       // 162 + 54 + 54 of 256; the last third needs 54
        {SplitMode::Pieces500000, "2m", 1100000},    // 269 + 123 of 512; the second piece needs 123
        {SplitMode::Pieces1000000, "3m", 2100000},   // 513 + 245 of 768; the second piece needs 245
    };
    for (const Case& c : cases) {
        for (const bool deleteSource : {false, true}) {
            SCOPED_TRACE(std::string(c.diskSize) + " disk, source of " + std::to_string(c.sourceSize) + " bytes" +
                         (deleteSource ? ", delete flag set" : ""));
            TestFolder folder;
            const SmallDisk disk(folder / "disk", c.diskSize);
            if (!disk.Mounted()) GTEST_SKIP() << "cannot mount a memory file system here: " << disk.Error();
            const ByteText diskFolder = folder / "disk";
            const ByteText source = folder / "disk\\s.txt";
            const std::string content = ChineseText(c.sourceSize);
            WriteFileBytes(source, content);
            const auto messages = RunCollecting(source, c.mode, deleteSource);
            ExpectStoppedForLackOfRoom(source, content, c.mode, diskFolder, deleteSource, messages);
        }
    }
}

// The process may write no file beyond a size limit: the longer last part is cut short by the
// system while the earlier ones fit.
TEST(DiskFaults, FileSizeLimitStopsALaterPart) {
    struct Case {
        SplitMode mode;
        size_t sourceSize;
        rlim_t limit;
    } cases[] = {
        {SplitMode::TwoFiles, 200001, 100000},    // 100,000 and 100,001 bytes
        {SplitMode::ThreeFiles, 300002, 100000},  // 100,000, 100,000 and 100,002 bytes
    };
    for (const Case& c : cases) {
        for (const bool deleteSource : {false, true}) {
            SCOPED_TRACE(std::to_string(c.sourceSize) + " bytes" + (deleteSource ? ", delete flag set" : ""));
            TestFolder folder;
            const ByteText source = folder / "s.txt";
            const std::string content = ChineseText(c.sourceSize);
            WriteFileBytes(source, content);

            // Past the limit a write fails with EFBIG instead of ending the process.
            struct sigaction ignore = {}, previous = {};
            ignore.sa_handler = SIG_IGN;
            ASSERT_EQ(sigaction(SIGXFSZ, &ignore, &previous), 0);
            rlimit saved = {};
            ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
            rlimit limited = saved;
            limited.rlim_cur = c.limit;
            ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
            const auto messages = RunCollecting(source, c.mode, deleteSource);
            setrlimit(RLIMIT_FSIZE, &saved);
            sigaction(SIGXFSZ, &previous, nullptr);

            ExpectStoppedForLackOfRoom(source, content, c.mode, folder.Path(), deleteSource, messages);
            const auto model = ModelParts(content, c.mode);
            const auto parts = ModelPartPaths(folder.Path(), "s", c.mode, model.size());
            for (size_t n = 1; n < parts.size(); ++n) EXPECT_EQ(ReadFileBytes(parts[n - 1]), model[n - 1]);
            EXPECT_EQ(ReadFileBytes(parts.back())->size(), c.limit);
        }
    }
}

// A named pipe exists but is no file to read: the run says so without waiting for a writer.
TEST(DiskFaults, PipeAsTheSource) {
    TestFolder folder;
    const ByteText pipe = folder / "pipe.txt";
    ASSERT_EQ(mkfifo(PlatformPathString(pipe).c_str(), 0666), 0);
    EXPECT_EQ(RunCollecting(pipe, SplitMode::TwoFiles, true), std::vector<std::string>{"文件无法读取！"});
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"pipe.txt"});
}

}  // namespace
