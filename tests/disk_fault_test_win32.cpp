// A disk that fills while the parts are written, under Wine: the test script mounts a small
// memory file system and names it in MOXTREL_SMALL_DISK (a Windows path, 1 MiB, empty).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "split_job.h"
#include "split_outcome.h"
#include "test_files.h"

namespace {

TEST(DiskFaults, DiskFillsDuringALaterPart) {
    const char* disk = std::getenv("MOXTREL_SMALL_DISK");
    if (!disk || !*disk) GTEST_SKIP() << "no small disk to fill: MOXTREL_SMALL_DISK is not set";
    // The sizes leave room for the source and the first part only (4 KiB pages of 256).
    struct Case {
        SplitMode mode;
        size_t sourceSize;
    } cases[] = {
        {SplitMode::TwoFiles, 600000},    // 147 + 74 pages; the second half needs 74
        {SplitMode::ThreeFiles, 660000},  // 162 + 54 + 54; the last third needs 54
    };
    for (const Case& c : cases) {
        for (const bool deleteSource : {false, true}) {
            SCOPED_TRACE(std::to_string(c.sourceSize) + " bytes" + (deleteSource ? ", delete flag set" : ""));
            TestFolder folder{ByteText(disk)};
            const ByteText source = folder / "s.txt";
            const std::string content = ChineseText(c.sourceSize);
            WriteFileBytes(source, content);
            const auto messages = RunCollecting(source, c.mode, deleteSource);
            ExpectStoppedForLackOfRoom(source, content, c.mode, folder.Path(), deleteSource, messages);
        }
    }
}

}  // namespace
