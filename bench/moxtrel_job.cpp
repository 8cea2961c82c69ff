// One measured piece of work for the benchmark driver, built natively and for Windows so the
// same code path runs on the POSIX backend and on kernel32 under Wine. The driver starts it
// once per measurement and reads its report from standard output.
//
//   moxtrel_job split MODE PATH   runs RunSplitJob once on PATH (delete flag clear), MODE being
//                                 two, three, 500000 or 1000000; prints "seconds T" and a
//                                 "message HEX" line for every message the job showed
//   moxtrel_job scan MIB ROUNDS   fills MIB MiB with text, then times the end-of-text scan and
//                                 memchr over that buffer; prints "scan T memchr T" (medians)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "byte_text.h"
#include "sample_text.h"
#include "split_job.h"

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

bool ParseMode(const std::string& name, SplitMode* mode) {
    if (name == "two") *mode = SplitMode::TwoFiles;
    else if (name == "three") *mode = SplitMode::ThreeFiles;
    else if (name == "500000") *mode = SplitMode::Pieces500000;
    else if (name == "1000000") *mode = SplitMode::Pieces1000000;
    else return false;
    return true;
}

int RunSplit(const std::string& modeName, const char* path) {
    SplitMode mode;
    if (!ParseMode(modeName, &mode)) {
        std::fprintf(stderr, "moxtrel_job: unknown mode %s\n", modeName.c_str());
        return 2;
    }
    std::vector<std::string> messages;
    const ByteText source(path);
    const Clock::time_point start = Clock::now();
    RunSplitJob(source, mode, false, [&](const ByteText& text) { messages.emplace_back(text.View()); });
    const double seconds = SecondsSince(start);
    std::printf("seconds %.6f\n", seconds);
    for (const std::string& message : messages) {
        std::printf("message ");
        for (unsigned char c : message) std::printf("%02X", c);
        std::printf("\n");
    }
    return 0;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

int RunScan(long mebibytes, int rounds) {
    const size_t count = static_cast<size_t>(mebibytes) << 20;
    if (mebibytes <= 0 || count > 0x7FFFFFFF || rounds <= 0) {
        std::fprintf(stderr, "moxtrel_job: scan needs 1 to 2047 MiB and at least one round\n");
        return 2;
    }
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[count]);
    if (!buffer) {
        std::fprintf(stderr, "moxtrel_job: no memory for the scan buffer\n");
        return 1;
    }
    SampleText().Fill(buffer.get(), count);
    std::vector<double> scanTimes;
    std::vector<double> memchrTimes;
    for (int round = 0; round < rounds; ++round) {
        Clock::time_point start = Clock::now();
        const int32_t end = TextEndOffset(buffer.get(), static_cast<int32_t>(count));
        scanTimes.push_back(SecondsSince(start));
        start = Clock::now();
        const void* nul = std::memchr(buffer.get(), 0, count);
        memchrTimes.push_back(SecondsSince(start));
        if (end != static_cast<int32_t>(count) || nul != nullptr) {
            std::fprintf(stderr, "moxtrel_job: the scan found an end in a text that has none\n");
            return 1;
        }
    }
    std::printf("scan %.6f memchr %.6f\n", Median(scanTimes), Median(memchrTimes));
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "split" && argc == 4) return RunSplit(argv[2], argv[3]);
    if (command == "scan" && argc == 4) return RunScan(std::atol(argv[2]), std::atoi(argv[3]));
    std::fprintf(stderr, "usage: moxtrel_job split two|three|500000|1000000 PATH\n"
                         "       moxtrel_job scan MIB ROUNDS\n");
    return 2;
}
