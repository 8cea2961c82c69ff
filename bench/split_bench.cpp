// The split benchmark: how far a split job is from the cost of reading and writing the file
// once. For each input size it makes a text file, then runs in rounds, in a rotating order, the
// job in each mode (moxtrel_job, natively and under Wine), `dd bs=1M` and the matching
// coreutils split, and prints for each the median wall time as a ratio to the references run
// in the same rounds, with the peak resident memory as a multiple of the file size.
//
// Every command is a process of its own, timed from start to exit, its peak memory taken from
// wait4(). Under Wine the job's own time is used, so Wine's start-up does not count: a user
// presses Start in a program that is already running. Outputs are deleted and flushed away
// between commands, untimed, so no command pays for another's dirty pages. The job's parts are
// checked against the source in the first round; a wrong part, a message from the job or a
// failing command fails the benchmark.
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/sysinfo.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "sample_text.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Options {
    std::string dataDir;
    std::vector<long long> sizes = {64LL << 20, 512LL << 20, 1LL << 30, 1900LL << 20};
    bool fixedSizes = true;  // the fixed-size modes on the largest file each takes whole
    int rounds = 5;
    int fixedRounds = 15;
    int scanMebibytes = 1024;
    int scanRounds = 7;
    std::string job;        // the native moxtrel_job
    std::string wineJob;    // moxtrel_job.exe; empty for no Wine runs
    std::string wineRunner; // the script that runs a Windows program under Wine
};

[[noreturn]] void Fail(const std::string& what) {
    std::fprintf(stderr, "split_bench: %s\n", what.c_str());
    std::exit(1);
}

// A finished process: its wall time, its peak resident memory and what it printed.
struct ProcessRun {
    double seconds = 0;
    long long peakBytes = 0;
    std::string output;
};

// Runs argv to its end; standard output is captured, standard error passes through. Fails
// the benchmark when the process cannot start or does not exit with 0.
ProcessRun RunProcess(const std::vector<std::string>& argv) {
    std::vector<char*> args;
    for (const std::string& arg : argv) args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);
    int pipeEnds[2];
    if (pipe(pipeEnds) != 0) Fail("pipe failed");
    std::fflush(nullptr);
    const Clock::time_point start = Clock::now();
    const pid_t pid = fork();
    if (pid < 0) Fail("fork failed");
    if (pid == 0) {
        dup2(pipeEnds[1], STDOUT_FILENO);
        close(pipeEnds[0]);
        close(pipeEnds[1]);
        execvp(args[0], args.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    ProcessRun run;
    char buffer[4096];
    for (ssize_t n; (n = read(pipeEnds[0], buffer, sizeof buffer)) != 0;) {
        if (n > 0) run.output.append(buffer, static_cast<size_t>(n));
        else if (errno != EINTR) break;
    }
    close(pipeEnds[0]);
    int status = 0;
    struct rusage usage {};
    while (wait4(pid, &status, 0, &usage) < 0)
        if (errno != EINTR) Fail("wait4 failed");
    run.seconds = std::chrono::duration<double>(Clock::now() - start).count();
    run.peakBytes = static_cast<long long>(usage.ru_maxrss) * 1024;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) Fail(argv[0] + " failed: " + run.output);
    return run;
}

enum class Runner { Native, Wine, Dd, Split };

// One command of a round: the job in one mode on one runner, or a reference.
struct Command {
    std::string label;
    Runner runner;
    std::string mode;       // moxtrel_job's mode name
    std::string splitArgs;  // "-n 2", "-b 500000"
    std::vector<double> seconds;     // what the ratios use: see RunOnce
    std::vector<double> jobSeconds;  // the job's own time, for the jobs
    long long peakBytes = 0;
};

std::string Slashes(std::string path, char from, char to) {
    std::replace(path.begin(), path.end(), from, to);
    return path;
}

// The part sizes the job makes of m bytes in a mode, as the program cuts them.
std::vector<long long> ExpectedParts(const std::string& mode, long long m) {
    if (mode == "two") return {m / 2, m - m / 2};
    if (mode == "three") return {m / 3, m / 3, m - 2 * (m / 3)};
    const long long k = mode == "500000" ? 500000 : 1000000;
    std::vector<long long> sizes;
    for (long long n = 1; n <= m / k + 1 && n <= 20; ++n) sizes.push_back(std::min(k, m - (n - 1) * k));
    return sizes;
}

std::string PartPath(const std::string& source, const std::string& mode, int n) {
    const std::string base = source.substr(0, source.rfind('.'));
    if (mode == "two" || mode == "three") return base + "_0" + std::to_string(n) + ".TXT";
    return base + "_" + std::to_string(n) + ".TXT";
}

// Whether the parts hold the source's bytes, in order and nothing else.
void CheckParts(const std::string& source, const std::string& mode, long long m) {
    FILE* in = std::fopen(source.c_str(), "rb");
    if (!in) Fail("cannot reopen " + source);
    std::vector<char> expected(1 << 20);
    std::vector<char> actual(1 << 20);
    const std::vector<long long> sizes = ExpectedParts(mode, m);
    for (size_t n = 1; n <= sizes.size(); ++n) {
        const std::string part = PartPath(source, mode, static_cast<int>(n));
        FILE* out = std::fopen(part.c_str(), "rb");
        if (!out) Fail("the job wrote no " + part);
        long long left = sizes[n - 1];
        while (left >= 0) {
            const size_t want = static_cast<size_t>(std::min<long long>(left, expected.size()));
            const size_t got = std::fread(actual.data(), 1, want + (left == 0 ? 1 : 0), out);
            if (left == 0) {
                if (got != 0) Fail(part + " is longer than its part");
                break;
            }
            if (got != want || std::fread(expected.data(), 1, want, in) != want ||
                std::memcmp(expected.data(), actual.data(), want) != 0)
                Fail(part + " does not hold its part of the source");
            left -= static_cast<long long>(want);
        }
        std::fclose(out);
    }
    std::fclose(in);
}

void MakeInput(const std::string& path, long long size) {
    struct stat status;
    if (stat(path.c_str(), &status) == 0 && status.st_size == size) return;
    FILE* out = std::fopen(path.c_str(), "wb");
    if (!out) Fail("cannot create " + path);
    SampleText text;
    std::vector<char> block(1 << 20);
    for (long long left = size; left > 0;) {
        const size_t n = static_cast<size_t>(std::min<long long>(left, block.size()));
        text.Fill(block.data(), n);
        if (std::fwrite(block.data(), 1, n, out) != n) Fail("cannot write " + path);
        left -= static_cast<long long>(n);
    }
    if (std::fclose(out) != 0) Fail("cannot write " + path);
}

// Deletes every file in the data folder but the inputs (the only names in .txt), then flushes what is left dirty.
void RemoveOutputs(const std::string& dir) {
    DIR* folder = opendir(dir.c_str());
    if (!folder) Fail("cannot list " + dir);
    std::vector<std::string> outputs;
    while (const dirent* entry = readdir(folder)) {
        const std::string name = entry->d_name;
        const bool input = name.size() > 4 && name.compare(name.size() - 4, 4, ".txt") == 0;
        if (name != "." && name != ".." && !input) outputs.push_back(dir + "/" + name);
    }
    closedir(folder);
    for (const std::string& path : outputs) unlink(path.c_str());
    sync();
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Runs one command once and records it; checks the job's outputs when asked.
void RunOnce(Command& command, const Options& options, const std::string& source, long long size,
             bool check) {
    ProcessRun run;
    double seconds = 0;
    if (command.runner == Runner::Dd) {
        run = RunProcess({"dd", "if=" + source, "of=" + options.dataDir + "/dd.out", "bs=1M", "status=none"});
        seconds = run.seconds;
    } else if (command.runner == Runner::Split) {
        const size_t space = command.splitArgs.find(' ');
        run = RunProcess({"split", command.splitArgs.substr(0, space), command.splitArgs.substr(space + 1), source,
                          options.dataDir + "/split_"});
        seconds = run.seconds;
    } else {
        if (command.runner == Runner::Native)
            run = RunProcess({options.job, "split", command.mode, Slashes(source, '/', '\\')});
        else
            run = RunProcess({options.wineRunner, options.wineJob, "split", command.mode, "Z:" + Slashes(source, '/', '\\')});
        const size_t at = run.output.find("seconds ");
        if (at == std::string::npos) Fail(command.label + " reported no time: " + run.output);
        const double jobSeconds = std::atof(run.output.c_str() + at + 8);
        seconds = command.runner == Runner::Native ? run.seconds : jobSeconds;
        command.jobSeconds.push_back(jobSeconds);
        if (run.output.find("message ") != std::string::npos) Fail(command.label + " showed a message: " + run.output);
        if (check) CheckParts(source, command.mode, size);
    }
    command.seconds.push_back(seconds);
    command.peakBytes = std::max(command.peakBytes, run.peakBytes);
    RemoveOutputs(options.dataDir);
}

const Command* FindRunner(const std::vector<Command>& commands, Runner runner) {
    for (const Command& command : commands)
        if (command.runner == runner) return &command;
    return nullptr;
}

void PrintTable(const std::vector<Command>& commands, long long size) {
    const Command* dd = FindRunner(commands, Runner::Dd);
    std::printf("  %-30s %10s %8s %10s %9s %12s\n", "command", "median s", "x dd", "x split", "x native", "peak / size");
    for (const Command& command : commands) {
        const double median = Median(command.seconds);
        std::printf("  %-30s %10.4f %8.2f", command.label.c_str(), median, median / Median(dd->seconds));
        const bool job = command.runner == Runner::Native || command.runner == Runner::Wine;
        const Command* split = nullptr;
        const Command* native = nullptr;
        for (const Command& other : commands) {
            if (!job) break;
            if (other.runner == Runner::Split && other.mode == command.mode) split = &other;
            if (other.runner == Runner::Native && other.mode == command.mode) native = &other;
        }
        if (split) std::printf(" %10.2f", median / Median(split->seconds));
        else std::printf(" %10s", "");
        if (command.runner == Runner::Wine && native)
            std::printf(" %9.2f", Median(command.jobSeconds) / Median(native->jobSeconds));
        else std::printf(" %9s", "");
        std::printf(" %12.2f\n", static_cast<double>(command.peakBytes) / static_cast<double>(size));
    }
}

// The job's modes that suit an input of this size, each with the coreutils split it matches.
std::vector<Command> CommandsFor(const Options& options, const std::vector<std::pair<std::string, std::string>>& modes) {
    const std::vector<std::pair<std::string, std::string>> labels = {
        {"two", "TwoFiles"}, {"three", "ThreeFiles"}, {"500000", "Pieces500000"}, {"1000000", "Pieces1000000"}};
    std::vector<Command> commands;
    commands.push_back({"dd bs=1M", Runner::Dd, "", "", {}, {}, 0});
    for (const auto& [mode, splitArgs] : modes) {
        std::string label;
        for (const auto& [name, text] : labels)
            if (name == mode) label = text;
        commands.push_back({label + " native", Runner::Native, mode, "", {}, {}, 0});
        if (!options.wineJob.empty()) commands.push_back({label + " Wine (job time)", Runner::Wine, mode, "", {}, {}, 0});
        commands.push_back({"split " + splitArgs, Runner::Split, mode, splitArgs, {}, {}, 0});
    }
    return commands;
}

void BenchmarkSize(const Options& options, long long size, int rounds,
                   const std::vector<std::pair<std::string, std::string>>& modes) {
    const std::string source = options.dataDir + "/source_" + std::to_string(size) + ".txt";
    MakeInput(source, size);
    std::vector<Command> commands = CommandsFor(options, modes);
    RemoveOutputs(options.dataDir);
    for (int round = 0; round < rounds; ++round) {
        for (size_t i = 0; i < commands.size(); ++i) {
            Command& command = commands[(i + static_cast<size_t>(round)) % commands.size()];
            RunOnce(command, options, source, size, round == 0);
        }
    }
    std::printf("\n%lld bytes (%.1f MiB), %d rounds\n", size, size / 1048576.0, rounds);
    PrintTable(commands, size);
    std::fflush(stdout);
    unlink(source.c_str());
}

void BenchmarkScan(const Options& options) {
    std::printf("\nend-of-text scan (TextEndOffset) against memchr, %d MiB, median of %d\n",
                options.scanMebibytes, options.scanRounds);
    std::printf("  %-30s %10s %10s %14s\n", "runner", "scan GB/s", "memchr GB/s", "scan / memchr");
    std::vector<std::pair<std::string, std::vector<std::string>>> runners = {
        {"native", {options.job}}};
    if (!options.wineJob.empty()) runners.push_back({"Wine", {options.wineRunner, options.wineJob}});
    for (auto& [name, argv] : runners) {
        argv.insert(argv.end(), {"scan", std::to_string(options.scanMebibytes), std::to_string(options.scanRounds)});
        const std::string output = RunProcess(argv).output;
        const size_t at = output.find("scan ");
        double scan = 0, memchrSeconds = 0;
        if (at == std::string::npos ||
            std::sscanf(output.c_str() + at, "scan %lf memchr %lf", &scan, &memchrSeconds) != 2 || scan <= 0 ||
            memchrSeconds <= 0)
            Fail("the scan reported no times: " + output);
        const double bytes = static_cast<double>(options.scanMebibytes) * 1048576.0;
        std::printf("  %-30s %10.2f %10.2f %14.2f\n", name.c_str(), bytes / scan / 1e9, bytes / memchrSeconds / 1e9,
                    memchrSeconds / scan);
    }
}

long long ParseSize(const std::string& text) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    const std::string unit = end;
    const double scale = unit == "" ? 1 : unit == "K" ? 1024.0 : unit == "M" ? 1048576.0 : unit == "G" ? 1073741824.0 : -1;
    if (end == text.c_str() || scale < 0 || value <= 0) Fail("bad size " + text);
    return static_cast<long long>(value * scale);
}

Options ParseOptions(int argc, char** argv) {
    Options options;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const auto value = [&]() -> std::string {
            if (i + 1 >= argc) Fail(arg + " needs a value");
            return argv[++i];
        };
        if (arg == "--dir") options.dataDir = value();
        else if (arg == "--job") options.job = value();
        else if (arg == "--wine-job") options.wineJob = value();
        else if (arg == "--wine-runner") options.wineRunner = value();
        else if (arg == "--rounds") options.rounds = std::atoi(value().c_str());
        else if (arg == "--fixed-rounds") options.fixedRounds = std::atoi(value().c_str());
        else if (arg == "--scan-mib") options.scanMebibytes = std::atoi(value().c_str());
        else if (arg == "--scan-rounds") options.scanRounds = std::atoi(value().c_str());
        else if (arg == "--no-fixed") options.fixedSizes = false;
        else if (arg == "--sizes") {
            options.sizes.clear();
            const std::string list = value();
            for (size_t from = 0; list != "none" && from <= list.size();) {
                const size_t comma = std::min(list.find(',', from), list.size());
                options.sizes.push_back(ParseSize(list.substr(from, comma - from)));
                from = comma + 1;
            }
        } else {
            Fail("unknown option " + arg +
                 "\nusage: split_bench --dir DIR --job MOXTREL_JOB [--wine-job EXE --wine-runner SCRIPT]\n"
                 "       [--sizes 64M,512M,1G,1900M|none] [--rounds 5] [--no-fixed] [--fixed-rounds 15]\n"
                 "       [--scan-mib 1024] [--scan-rounds 7]");
        }
    }
    if (options.dataDir.empty() || options.job.empty()) Fail("--dir and --job are needed");
    if (!options.wineJob.empty() && options.wineRunner.empty()) Fail("--wine-job needs --wine-runner");
    if (options.rounds < 1 || options.fixedRounds < 1 || options.scanRounds < 1) Fail("rounds must be at least 1");
    for (long long size : options.sizes)
        if (size >= (1LL << 31)) Fail("sizes must stay below 2 GiB");
    return options;
}

}  // namespace

int main(int argc, char** argv) {
    const Options options = ParseOptions(argc, argv);
    mkdir(options.dataDir.c_str(), 0777);
    struct sysinfo info {};
    sysinfo(&info);
    std::printf("split benchmark: %ld cores, %.1f GiB memory; data in %s\n", sysconf(_SC_NPROCESSORS_ONLN),
                static_cast<double>(info.totalram) * info.mem_unit / 1073741824.0, options.dataDir.c_str());
    std::printf("median wall time of each process over paired rounds; Wine rows use the job's own time,\n"
                "and x native compares it with the native job's own time\n");
    for (long long size : options.sizes)
        BenchmarkSize(options, size, options.rounds, {{"two", "-n 2"}, {"three", "-n 3"}});
    if (options.fixedSizes) {
        BenchmarkSize(options, 9999999, options.fixedRounds, {{"500000", "-b 500000"}});
        BenchmarkSize(options, 19999999, options.fixedRounds, {{"1000000", "-b 1000000"}});
    }
    BenchmarkScan(options);
    return 0;
}
