// The POSIX backend of the file layer. Paths arrive as ANSI texts with backslash separators;
// each backslash that begins a character becomes '/', so a 0x5C trail byte stays in the name.
// Windows refuses to open, replace or delete a read-only file even for an administrator; a
// file with no write permission bit is refused here the same way, for root too.
#include <dirent.h>
#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <string>

#include "file_platform.h"

std::string PlatformPathString(const ByteText& path) {
    std::string native(path.View());
    for (size_t i = 0; i < native.size(); ++i) {
        const unsigned char byte = static_cast<unsigned char>(native[i]);
        if (byte == '\\')
            native[i] = '/';
        else if (byte >= 0x80)
            ++i;  // the trail byte of a double-byte character is never a separator
    }
    return native;
}

namespace {

std::string NativePath(const ByteText& path) { return PlatformPathString(path); }

bool HasWildcards(const std::string& native) {
    return native.find_first_of("*?") != std::string::npos;
}

bool IsReadOnly(const struct stat& status) {
    return (status.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

unsigned char FoldCase(unsigned char c) { return c >= 'a' && c <= 'z' ? c - 'a' + 'A' : c; }

// Matches a name against a pattern of * and ? the way a directory search does: ASCII
// letters without regard to case, every other byte as it stands.
bool WildcardMatch(const char* pattern, const char* name) {
    const char* starPattern = nullptr;
    const char* starName = nullptr;
    while (*name) {
        if (*pattern == '*') {
            starPattern = ++pattern;
            starName = name;
        } else if (*pattern == '?' || (*pattern && FoldCase(*pattern) == FoldCase(*name))) {
            ++pattern;
            ++name;
        } else if (starPattern) {
            pattern = starPattern;
            name = ++starName;
        } else {
            return false;
        }
    }
    while (*pattern == '*') ++pattern;
    return *pattern == '\0';
}

PlatformHandle Refuse(int fd) {
    close(fd);
    return kNoHandle;
}

}  // namespace

bool PlatformFindAny(const ByteText& path) {
    const std::string native = NativePath(path);
    if (native.empty() || native.back() == '/') return false;
    const size_t slash = native.rfind('/');
    const std::string name = slash == std::string::npos ? native : native.substr(slash + 1);
    if (!HasWildcards(name)) {
        struct stat status;
        return stat(native.c_str(), &status) == 0;
    }
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : native.substr(0, slash);
    DIR* dir = opendir(folder.c_str());
    if (!dir) return false;
    bool found = false;
    while (const dirent* entry = readdir(dir)) {
        if (WildcardMatch(name.c_str(), entry->d_name)) {
            found = true;
            break;
        }
    }
    closedir(dir);
    return found;
}

PlatformHandle PlatformOpenReadWrite(const ByteText& path) {
    const std::string native = NativePath(path);
    if (HasWildcards(native)) return kNoHandle;
    const int fd = open(native.c_str(), O_RDWR | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
    if (fd < 0) return kNoHandle;
    struct stat status;
    if (fstat(fd, &status) != 0 || !S_ISREG(status.st_mode) || IsReadOnly(status)) return Refuse(fd);
    return fd;
}

bool PlatformFileLength(PlatformHandle handle, int64_t* length) {
    const int fd = static_cast<int>(handle);
    const off_t position = lseek(fd, 0, SEEK_CUR);
    if (position < 0) return false;
    const off_t end = lseek(fd, 0, SEEK_END);
    if (end < 0 || lseek(fd, position, SEEK_SET) != position) return false;
    *length = end;
    return true;
}

namespace {

FileStamp StampOf(const struct stat& status) {
    return {static_cast<int64_t>(status.st_size),
            static_cast<int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec};
}

}  // namespace

bool PlatformFileStamp(PlatformHandle handle, FileStamp* stamp) {
    struct stat status;
    if (fstat(static_cast<int>(handle), &status) != 0) return false;
    *stamp = StampOf(status);
    return true;
}

bool PlatformPathStamp(const ByteText& path, FileStamp* stamp) {
    struct stat status;
    if (stat(NativePath(path).c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return false;
    *stamp = StampOf(status);
    return true;
}

std::shared_ptr<char[]> PlatformReadBuffer(int32_t count) {
    // Anonymous memory in 2 MiB pages where the system grants them: one fault per 2 MiB
    // instead of one per 4 KiB, and far fewer TLB misses while the text is scanned and
    // written. The mapping is aligned to 2 MiB so that every whole huge page in it can be one.
    constexpr size_t kHugePage = size_t{2} << 20;
    const size_t length = static_cast<size_t>(count);
    const size_t reserved = length + kHugePage;
    void* mapped = mmap(nullptr, reserved, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) return nullptr;
    char* const start = static_cast<char*>(mapped);
    char* const aligned = reinterpret_cast<char*>((reinterpret_cast<uintptr_t>(start) + kHugePage - 1) & ~(kHugePage - 1));
    const size_t pageSize = static_cast<size_t>(sysconf(_SC_PAGESIZE));
    const size_t used = (length + pageSize - 1) / pageSize * pageSize;
    if (aligned > start) munmap(start, static_cast<size_t>(aligned - start));
    char* const tail = aligned + used;
    if (tail < start + reserved) munmap(tail, static_cast<size_t>(start + reserved - tail));
#ifdef MADV_HUGEPAGE
    madvise(aligned, used, MADV_HUGEPAGE);  // only advice: a refusal leaves ordinary pages
#endif
#ifdef MADV_POPULATE_WRITE
    // Faulting the pages in here, in one pass, costs a fraction of faulting them one by one
    // inside the read. Older kernels refuse; the read then faults them in itself.
    madvise(aligned, used, MADV_POPULATE_WRITE);
#endif
    return std::shared_ptr<char[]>(aligned, [used](char* bytes) { munmap(bytes, used); });
}

bool PlatformRead(PlatformHandle handle, char* buffer, int32_t count, int32_t* got) {
    // One read() returns at most about 2 GiB - 4 KiB on Linux, so a long file takes several.
    int32_t total = 0;
    while (total < count) {
        const ssize_t n = read(static_cast<int>(handle), buffer + total, static_cast<size_t>(count - total));
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) return false;
        if (n == 0) break;
        total += static_cast<int32_t>(n);
    }
    *got = total;
    return true;
}

PlatformHandle PlatformCreateForWrite(const ByteText& path) {
    const std::string native = NativePath(path);
    if (HasWildcards(native)) return kNoHandle;
    struct stat status;
    if (stat(native.c_str(), &status) == 0 && (!S_ISREG(status.st_mode) || IsReadOnly(status)))
        return kNoHandle;
    const int fd = open(native.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC | O_NOCTTY, 0666);
    return fd < 0 ? kNoHandle : fd;
}

bool PlatformWrite(PlatformHandle handle, const char* bytes, int32_t count) {
    // The bytes go out 1 MiB at a time, as `dd bs=1M` writes them: one write() of a whole
    // part of hundreds of MiB was measured several times slower than the same bytes in 1 MiB
    // writes, as the page cache then takes its memory in large blocks that are costly to
    // touch for the first time.
    constexpr int32_t kPiece = 1 << 20;
    int32_t total = 0;
    while (total < count) {
        const int32_t piece = count - total < kPiece ? count - total : kPiece;
        const ssize_t n = write(static_cast<int>(handle), bytes + total, static_cast<size_t>(piece));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        total += static_cast<int32_t>(n);
    }
    return true;
}

bool PlatformFlush(PlatformHandle handle) { return fsync(static_cast<int>(handle)) == 0; }

bool PlatformClose(PlatformHandle handle) { return close(static_cast<int>(handle)) == 0; }

bool PlatformDelete(const ByteText& path) {
    const std::string native = NativePath(path);
    struct stat status;
    if (HasWildcards(native) || lstat(native.c_str(), &status) != 0 || S_ISDIR(status.st_mode) ||
        IsReadOnly(status))
        return false;
    return unlink(native.c_str()) == 0;
}

ByteText PlatformModulePath() {
    char buffer[PATH_MAX];
    const ssize_t n = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (n <= 0) return {};
    std::string path(buffer, static_cast<size_t>(n));
    for (char& c : path)
        if (c == '/') c = '\\';
    return ByteText(path);
}

bool PlatformSetCurrentDirectory(const ByteText& path) {
    return chdir(NativePath(path).c_str()) == 0;
}
