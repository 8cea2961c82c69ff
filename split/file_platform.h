// The platform calls that the file operations rest on: one backend file per platform
// (file_ops_win32.cpp on kernel32, file_ops_posix.cpp on POSIX), chosen by the build.
// Paths are ANSI texts with backslash separators; the POSIX backend maps them.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "byte_text.h"

using PlatformHandle = intptr_t;
constexpr PlatformHandle kNoHandle = -1;

// The path as the platform's own calls take it.
std::string PlatformPathString(const ByteText& path);
// Whether a directory search for path finds any file or directory; the last component may
// hold the wildcards * and ?.
bool PlatformFindAny(const ByteText& path);
// Opens an existing file for reading and writing, sharing both; refuses read-only files,
// directories and wildcards. kNoHandle when refused.
PlatformHandle PlatformOpenReadWrite(const ByteText& path);
// The file's total length, leaving its position where it was.
bool PlatformFileLength(PlatformHandle handle, int64_t* length);
// What identifies a version of a file's content: its length and its last write time.
struct FileStamp {
    int64_t length = -1;
    int64_t writeTime = 0;  // in the platform's own units
    friend bool operator==(const FileStamp& a, const FileStamp& b) {
        return a.length == b.length && a.writeTime == b.writeTime;
    }
};
// The stamp of an open file, or of the file at a path.
bool PlatformFileStamp(PlatformHandle handle, FileStamp* stamp);
bool PlatformPathStamp(const ByteText& path, FileStamp* stamp);
// A buffer of count bytes (count > 0) for reading a whole file into; null when the memory
// cannot be had. A fresh buffer's first touch can cost more than the read itself, so each
// platform takes the memory where that touch is cheapest.
std::shared_ptr<char[]> PlatformReadBuffer(int32_t count);
// Reads up to count bytes from the current position; *got is what arrived before the end of
// the file. False on a read error.
bool PlatformRead(PlatformHandle handle, char* buffer, int32_t count, int32_t* got);
// Creates path for writing, or empties the file there; refuses a read-only, hidden or system
// file and a directory in the way. kNoHandle when refused.
PlatformHandle PlatformCreateForWrite(const ByteText& path);
// Writes all count bytes, or returns false.
bool PlatformWrite(PlatformHandle handle, const char* bytes, int32_t count);
// Makes the file's data durable on its storage.
bool PlatformFlush(PlatformHandle handle);
bool PlatformClose(PlatformHandle handle);
// Deletes a file; refuses directories, wildcards and read-only files.
bool PlatformDelete(const ByteText& path);
// The full path of the program's own executable, with backslash separators.
ByteText PlatformModulePath();
bool PlatformSetCurrentDirectory(const ByteText& path);
