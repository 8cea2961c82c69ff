// The kernel32 backend of the file layer, on the ANSI calls. Paths go to the platform as
// they stand.
//
// Windows refuses write access to a read-only file, but Wine running as root opens one, so
// the read-only attribute is checked here as well: the open refuses such a file, and a
// read-only, hidden or system file in the way of a new part is never replaced.
#include <windows.h>

#include <new>
#include <utility>

#include "file_platform.h"

namespace {

// Ends a directory search when it goes out of scope.
class FindHandle {
public:
    explicit FindHandle(HANDLE handle) : handle_(handle) {}
    FindHandle(const FindHandle&) = delete;
    FindHandle& operator=(const FindHandle&) = delete;
    ~FindHandle() {
        if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
    }
    bool Found() const { return handle_ != INVALID_HANDLE_VALUE; }

private:
    HANDLE handle_;
};

HANDLE AsHandle(PlatformHandle handle) { return reinterpret_cast<HANDLE>(handle); }

PlatformHandle FromHandle(HANDLE handle) {
    return handle == INVALID_HANDLE_VALUE ? kNoHandle : reinterpret_cast<PlatformHandle>(handle);
}

constexpr DWORD kNotReplaceable = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_DIRECTORY;

// Moves the file pointer; the new position, or -1.
LONGLONG Seek(HANDLE file, LONGLONG distance, DWORD method) {
    LONG high = static_cast<LONG>(distance >> 32);
    SetLastError(NO_ERROR);
    const DWORD low = SetFilePointer(file, static_cast<LONG>(distance & 0xFFFFFFFF), &high, method);
    if (low == INVALID_SET_FILE_POINTER && GetLastError() != NO_ERROR) return -1;
    return (static_cast<LONGLONG>(high) << 32) | low;
}

}  // namespace

std::string PlatformPathString(const ByteText& path) { return path.CString(); }

bool PlatformFindAny(const ByteText& path) {
    WIN32_FIND_DATAA data;
    const FindHandle search(FindFirstFileA(path.CString().c_str(), &data));
    return search.Found();
}

PlatformHandle PlatformOpenReadWrite(const ByteText& path) {
    const HANDLE file = CreateFileA(path.CString().c_str(), GENERIC_READ | GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return kNoHandle;
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(file, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) {
        CloseHandle(file);
        return kNoHandle;
    }
    return FromHandle(file);
}

bool PlatformFileLength(PlatformHandle handle, int64_t* length) {
    const HANDLE file = AsHandle(handle);
    const LONGLONG position = Seek(file, 0, FILE_CURRENT);
    if (position < 0) return false;
    const LONGLONG end = Seek(file, 0, FILE_END);
    if (end < 0 || Seek(file, position, FILE_BEGIN) != position) return false;
    *length = end;
    return true;
}

namespace {

int64_t Combine(DWORD high, DWORD low) { return (static_cast<int64_t>(high) << 32) | low; }

}  // namespace

bool PlatformFileStamp(PlatformHandle handle, FileStamp* stamp) {
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(AsHandle(handle), &info)) return false;
    *stamp = {Combine(info.nFileSizeHigh, info.nFileSizeLow),
              Combine(info.ftLastWriteTime.dwHighDateTime, info.ftLastWriteTime.dwLowDateTime)};
    return true;
}

bool PlatformPathStamp(const ByteText& path, FileStamp* stamp) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path.CString().c_str(), GetFileExInfoStandard, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
        return false;
    *stamp = {Combine(data.nFileSizeHigh, data.nFileSizeLow),
              Combine(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime)};
    return true;
}

std::shared_ptr<char[]> PlatformReadBuffer(int32_t count) {
    return std::shared_ptr<char[]>(new (std::nothrow) char[count]);
}

bool PlatformRead(PlatformHandle handle, char* buffer, int32_t count, int32_t* got) {
    // One call reads a file whole; a short answer before the end is taken up by another.
    int32_t total = 0;
    while (total < count) {
        DWORD n = 0;
        if (!ReadFile(AsHandle(handle), buffer + total, static_cast<DWORD>(count - total), &n, nullptr))
            return false;
        if (n == 0) break;
        total += static_cast<int32_t>(n);
    }
    *got = total;
    return true;
}

PlatformHandle PlatformCreateForWrite(const ByteText& path) {
    const std::string name = path.CString();
    const DWORD attributes = GetFileAttributesA(name.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & kNotReplaceable) != 0) return kNoHandle;
    return FromHandle(
        CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
}

bool PlatformWrite(PlatformHandle handle, const char* bytes, int32_t count) {
    // 1 MiB per WriteFile: a single call for hundreds of MiB can fail on a network share
    // (ERROR_NO_SYSTEM_RESOURCES), and under Wine it was measured several times slower.
    constexpr int32_t kPiece = 1 << 20;
    for (int32_t total = 0; total < count;) {
        const DWORD piece = static_cast<DWORD>(count - total < kPiece ? count - total : kPiece);
        DWORD written = 0;
        if (!WriteFile(AsHandle(handle), bytes + total, piece, &written, nullptr) || written != piece) return false;
        total += static_cast<int32_t>(piece);
    }
    return true;
}

bool PlatformFlush(PlatformHandle handle) { return FlushFileBuffers(AsHandle(handle)) != 0; }

bool PlatformClose(PlatformHandle handle) { return CloseHandle(AsHandle(handle)) != 0; }

bool PlatformDelete(const ByteText& path) { return DeleteFileA(path.CString().c_str()) != 0; }

ByteText PlatformModulePath() {
    char buffer[MAX_PATH] = {};
    const DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    if (n == 0 || n >= MAX_PATH) return {};
    return ByteText(std::string_view(buffer, n));
}

bool PlatformSetCurrentDirectory(const ByteText& path) {
    return SetCurrentDirectoryA(path.CString().c_str()) != 0;
}
