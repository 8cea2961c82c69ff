// File fixtures for the engine tests, on the same ANSI paths the engine takes, so one table of
// cases runs natively and under Wine. One backend file per platform.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "byte_text.h"

// A fresh, empty folder for one test, removed with everything in it at the end.
class TestFolder {
public:
    TestFolder();
    // A fresh folder inside parent instead of the system's temporary folder.
    explicit TestFolder(const ByteText& parent);
    ~TestFolder();
    TestFolder(const TestFolder&) = delete;
    TestFolder& operator=(const TestFolder&) = delete;

    // The folder itself, with no trailing backslash.
    const ByteText& Path() const { return path_; }
    // folder + "\" + name.
    ByteText operator/(const std::string& name) const;
    // The names of the entries, sorted.
    std::vector<std::string> Names() const;

private:
    ByteText path_;
};

// Creates or replaces a file holding exactly these bytes.
void WriteFileBytes(const ByteText& path, const std::string& bytes);
// The file's bytes, or nothing when it cannot be read.
std::optional<std::string> ReadFileBytes(const ByteText& path);
bool PathExists(const ByteText& path);
void MakeFolder(const ByteText& path);
// Sets or clears the read-only attribute (all write permission bits on POSIX).
void SetReadOnly(const ByteText& path, bool readOnly);
// A file that reports a length of `length` bytes without taking space.
bool MakeSparseFile(const ByteText& path, long long length);

// True where a file name is any bytes; false where names are characters, so a name with
// bytes that are no character of the ANSI code page cannot be made.
bool NamesAreRawBytes();

// Replaces the file's content through a handle that shares reading and writing, the way
// another program may change a file while this one holds it open.
bool ChangeFileShared(const ByteText& path, const std::string& bytes);

// Another opener of a file, for as long as the value lives. Only Windows has share modes, so
// elsewhere nothing is held and Held() is false.
class FileHolder {
public:
    enum class Sharing {
        None,       // no other opener may read, write or delete
        ReadWrite,  // others may read and write, but not delete
    };
    FileHolder(const ByteText& path, Sharing sharing);
    ~FileHolder();
    FileHolder(const FileHolder&) = delete;
    FileHolder& operator=(const FileHolder&) = delete;
    bool Held() const { return handle_ != -1; }

private:
    intptr_t handle_ = -1;
};
