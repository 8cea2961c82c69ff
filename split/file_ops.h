// The file operations of the split job: existence, reading a file whole as one text,
// writing a part, deleting the source, and the program's run directory.
// Failures are results (false, the FileNumber 0, the empty text); nothing here shows UI.
#pragma once

#include <cstdint>

#include "byte_text.h"
#include "file_platform.h"

// Names one open file; 0 names none.
using FileNumber = int32_t;

// True when the path matches an existing file or directory; the last component may hold
// the wildcards * and ?. The empty path and a path ending in a backslash give false.
bool FileExists(const ByteText& path);

// Opens an existing file for reading and writing, shared for both; 0 when it cannot be
// opened (missing, read-only, a directory, wildcards, not shared, no write permission).
FileNumber OpenFileReadWrite(const ByteText& path);

// How a whole-file read ended.
enum class ReadStatus {
    Read,      // the bytes of the file were read; text may still end early at 0x00 or 0x1A
    NotOpen,   // the number names no open file
    TooLarge,  // the file holds 2,147,483,648 bytes or more
    Failed,    // measuring, memory or the read itself failed
    Changed,   // the file changed its size while it was being read
};

struct WholeRead {
    ByteText text;
    ReadStatus status = ReadStatus::NotOpen;
    int64_t fileLength = 0;  // the length measured before the read
    FileStamp stamp;         // length and last write time right after the read
};

// Reads the file from its current position, in one call, into one buffer of the file's
// length, and keeps the text up to its end by the character rule (see TextEndOffset).
// Only a Read status has a text; every other status has the empty text.
WholeRead ReadWholeFile(FileNumber file);
// The text of ReadWholeFile; the empty text for any failure.
ByteText ReadWholeText(FileNumber file);

// Closes the file and forgets its number; a number that is not open is ignored.
void CloseFileNumber(FileNumber file);

enum class Durability {
    Cached,   // leave the data to the system's cache
    Flushed,  // flush it to stable storage before the file is closed
};

// Creates the file, or empties the one there, and writes exactly the bytes; zero bytes leave
// an empty file. False when the path is empty, creation is refused, the write fails or is
// short, the flush fails, or closing the file fails (a failed close is a failed write).
bool WriteBytesToFile(const ByteText& path, const ByteSequence& bytes,
                      Durability durability = Durability::Cached);

// Whether the file at path still has the stamp that a read took: a source that another
// program changed after it was read must not be deleted in favour of parts of its old content.
bool FileUnchangedSince(const ByteText& path, const FileStamp& stamp);

// Deletes the file; false when the platform refuses (missing, directory, read-only, in use).
bool RemoveFile(const ByteText& path);

// The folder of the program's own executable, without a trailing backslash. The first call
// fixes it and makes it the current directory; later calls give the same value.
ByteText RunDirectory();
