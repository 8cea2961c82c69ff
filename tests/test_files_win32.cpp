#include <windows.h>

#include <algorithm>
#include <stdexcept>

#include "test_files.h"

namespace {

std::string Join(const std::string& folder, const std::string& name) { return folder + "\\" + name; }

// The wide form of an ANSI path. A long full path gets the \\?\ prefix that lifts the
// 260-character limit of the wide calls, so fixtures can be made where the ANSI calls stop;
// shorter paths keep the usual parsing (a trailing dot dropped) that the ANSI calls apply.
std::wstring Wide(const std::string& path, bool longForm = false) {
    const int n = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    if (n <= 0) throw std::runtime_error("not an ANSI path: " + path);
    std::wstring wide(static_cast<size_t>(n), L'\0');
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), n);
    wide.resize(static_cast<size_t>(n) - 1);
    const bool full = wide.size() > 2 && wide[1] == L':' && wide[2] == L'\\';
    if (full && (longForm || wide.size() >= 240)) return L"\\\\?\\" + wide;
    return wide;
}

void RemoveTree(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return;
    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        WIN32_FIND_DATAW data;
        const HANDLE search = FindFirstFileW((path + L"\\*").c_str(), &data);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                const std::wstring name = data.cFileName;
                if (name != L"." && name != L"..") RemoveTree(path + L"\\" + name);
            } while (FindNextFileW(search, &data));
            FindClose(search);
        }
        RemoveDirectoryW(path.c_str());
    } else {
        DeleteFileW(path.c_str());
    }
}

}  // namespace

namespace {

std::string TempFolder() {
    char temp[MAX_PATH];
    const DWORD n = GetTempPathA(MAX_PATH, temp);
    if (n == 0 || n >= MAX_PATH) throw std::runtime_error("no temp folder");
    std::string base(temp, n);
    if (!base.empty() && base.back() == '\\') base.pop_back();
    return base;
}

}  // namespace

TestFolder::TestFolder() : TestFolder(ByteText(TempFolder())) {}

TestFolder::TestFolder(const ByteText& parent) {
    const std::string base = parent.CString();
    for (unsigned attempt = GetTickCount() ^ GetCurrentProcessId();; ++attempt) {
        const std::string candidate = Join(base, "moxtrel-test-" + std::to_string(attempt));
        if (CreateDirectoryA(candidate.c_str(), nullptr)) {
            path_ = ByteText(candidate);
            return;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) throw std::runtime_error("cannot make temp folder");
    }
}

TestFolder::~TestFolder() { RemoveTree(Wide(path_.CString(), true)); }

ByteText TestFolder::operator/(const std::string& name) const { return ConcatTexts({path_, "\\", ByteText(name)}); }

std::vector<std::string> TestFolder::Names() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    const HANDLE search = FindFirstFileA(Join(path_.CString(), "*").c_str(), &data);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = data.cFileName;
            if (name != "." && name != "..") names.push_back(name);
        } while (FindNextFileA(search, &data));
        FindClose(search);
    }
    std::sort(names.begin(), names.end());
    return names;
}

void WriteFileBytes(const ByteText& path, const std::string& bytes) {
    const HANDLE file = CreateFileW(Wide(path.CString()).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    const bool ok = file != INVALID_HANDLE_VALUE &&
                    (bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr));
    if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
    if (!ok || written != bytes.size()) throw std::runtime_error("cannot write fixture " + path.CString());
}

std::optional<std::string> ReadFileBytes(const ByteText& path) {
    const HANDLE file = CreateFileW(Wide(path.CString()).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string content;
    char buffer[65536];
    DWORD n = 0;
    while (ReadFile(file, buffer, sizeof buffer, &n, nullptr) && n > 0) content.append(buffer, n);
    CloseHandle(file);
    return content;
}

bool PathExists(const ByteText& path) {
    return GetFileAttributesW(Wide(path.CString()).c_str()) != INVALID_FILE_ATTRIBUTES;
}

void MakeFolder(const ByteText& path) { CreateDirectoryW(Wide(path.CString()).c_str(), nullptr); }

void SetReadOnly(const ByteText& path, bool readOnly) {
    SetFileAttributesA(path.CString().c_str(), readOnly ? FILE_ATTRIBUTE_READONLY : FILE_ATTRIBUTE_NORMAL);
}

bool MakeSparseFile(const ByteText& path, long long length) {
    const HANDLE file = CreateFileA(path.CString().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD returned = 0;
    DeviceIoControl(file, FSCTL_SET_SPARSE, nullptr, 0, nullptr, 0, &returned, nullptr);
    LARGE_INTEGER size;
    size.QuadPart = length;
    const bool ok = SetFilePointerEx(file, size, nullptr, FILE_BEGIN) && SetEndOfFile(file);
    CloseHandle(file);
    return ok;
}

bool ChangeFileShared(const ByteText& path, const std::string& bytes) {
    const HANDLE file = CreateFileA(path.CString().c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = (bytes.empty() || WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                                                nullptr)) &&
                    written == bytes.size() && SetEndOfFile(file);
    return CloseHandle(file) && ok;
}

FileHolder::FileHolder(const ByteText& path, Sharing sharing) {
    const DWORD share = sharing == Sharing::None ? 0 : FILE_SHARE_READ | FILE_SHARE_WRITE;
    const HANDLE file = CreateFileA(path.CString().c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) handle_ = reinterpret_cast<intptr_t>(file);
}

FileHolder::~FileHolder() {
    if (Held()) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

bool NamesAreRawBytes() { return false; }
