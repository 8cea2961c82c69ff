#include "file_ops.h"

#include <limits>
#include <memory>
#include <new>
#include <utility>
#include <vector>

#include "file_faults.h"
#include "file_platform.h"

namespace {

// The open files of the process, in order of opening.
struct OpenFile {
    FileNumber number;
    PlatformHandle handle;
};
std::vector<OpenFile> openFileTable;
FileNumber lastFileNumber = 0;

PlatformHandle FindOpenFile(FileNumber number) {
    for (const OpenFile& entry : openFileTable)
        if (entry.number == number) return entry.handle;
    return kNoHandle;
}

FileNumber NextFileNumber() {
    do {
        lastFileNumber = lastFileNumber == std::numeric_limits<FileNumber>::max() ? 1 : lastFileNumber + 1;
    } while (FindOpenFile(lastFileNumber) != kNoHandle);
    return lastFileNumber;
}

// Closes a handle that is no longer wanted when it goes out of scope; Close() reports.
class ScopedHandle {
public:
    explicit ScopedHandle(PlatformHandle handle) : handle_(handle) {}
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ~ScopedHandle() {
        if (handle_ != kNoHandle) PlatformClose(handle_);
    }
    PlatformHandle Get() const { return handle_; }
    bool Close() {
        // A failed close still gives the handle back: only its report is lost.
        const PlatformHandle handle = std::exchange(handle_, kNoHandle);
        const bool refused = FileCallFails(FileCall::Close);
        return PlatformClose(handle) && !refused;
    }

private:
    PlatformHandle handle_;
};

bool MeasureLength(PlatformHandle handle, int64_t* length) {
    return !FileCallFails(FileCall::Measure) && PlatformFileLength(handle, length);
}

}  // namespace

bool FileExists(const ByteText& path) {
    if (path.Empty() || FileCallFails(FileCall::Find)) return false;
    return PlatformFindAny(path);
}

FileNumber OpenFileReadWrite(const ByteText& path) {
    if (path.Empty() || FileCallFails(FileCall::Open)) return 0;
    const PlatformHandle handle = PlatformOpenReadWrite(path);
    if (handle == kNoHandle) return 0;
    const FileNumber number = NextFileNumber();
    openFileTable.push_back({number, handle});
    return number;
}

WholeRead ReadWholeFile(FileNumber file) {
    WholeRead result;
    const PlatformHandle handle = FindOpenFile(file);
    if (handle == kNoHandle) return result;
    result.status = ReadStatus::Failed;
    int64_t length = 0;
    if (!MeasureLength(handle, &length)) return result;
    result.fileLength = length;
    if (length > std::numeric_limits<int32_t>::max()) {
        result.status = ReadStatus::TooLarge;
        return result;
    }
    // The buffer becomes the text itself: the text is a prefix of what was read.
    std::shared_ptr<char[]> buffer;
    int32_t got = 0;
    if (length > 0) {
        buffer = PlatformReadBuffer(static_cast<int32_t>(length));
        if (!buffer) return result;
        if (FileCallFails(FileCall::Read) || !PlatformRead(handle, buffer.get(), static_cast<int32_t>(length), &got))
            return result;
    }
    // A file that shrank or grew while it was read no longer matches what was read; the stamp
    // also lets the caller see later whether the file has changed since.
    if (FileCallFails(FileCall::Measure) || !PlatformFileStamp(handle, &result.stamp)) return result;
    if (got != length || result.stamp.length != length) {
        result.status = ReadStatus::Changed;
        return result;
    }
    if (got > 0) {
        const int32_t textLength = TextEndOffset(buffer.get(), got);
        const char* data = buffer.get();
        result.text = ByteText::FromBytesWithoutNul(SharedBytes(std::move(buffer), data, textLength));
    }
    result.status = ReadStatus::Read;
    return result;
}

ByteText ReadWholeText(FileNumber file) { return ReadWholeFile(file).text; }

void CloseFileNumber(FileNumber file) {
    for (auto entry = openFileTable.begin(); entry != openFileTable.end(); ++entry) {
        if (entry->number != file) continue;
        const PlatformHandle handle = entry->handle;
        openFileTable.erase(entry);
        FileCallFails(FileCall::Close);  // a failed close of the source changes nothing here
        PlatformClose(handle);
        return;
    }
}

bool WriteBytesToFile(const ByteText& path, const ByteSequence& bytes, Durability durability) {
    if (path.Empty() || FileCallFails(FileCall::Create)) return false;
    ScopedHandle file(PlatformCreateForWrite(path));
    if (file.Get() == kNoHandle) return false;
    if (bytes.Length() > 0 &&
        (FileCallFails(FileCall::Write) || !PlatformWrite(file.Get(), bytes.Data(), bytes.Length())))
        return false;
    if (durability == Durability::Flushed && (FileCallFails(FileCall::Flush) || !PlatformFlush(file.Get())))
        return false;
    return file.Close();
}

bool FileUnchangedSince(const ByteText& path, const FileStamp& stamp) {
    FileStamp now;
    if (path.Empty() || FileCallFails(FileCall::Check) || !PlatformPathStamp(path, &now)) return false;
    return now == stamp;
}

bool RemoveFile(const ByteText& path) {
    if (path.Empty() || FileCallFails(FileCall::Delete)) return false;
    return PlatformDelete(path);
}

ByteText RunDirectory() {
    static const ByteText runDirectory = [] {
        const ByteText modulePath = PlatformModulePath();
        const int32_t lastBackslash = ReverseFind(modulePath, "\\");
        const ByteText directory = TextLeft(modulePath, lastBackslash - 1);
        // "C:" alone names the drive's current folder, not its root, so the root of a drive
        // is entered as "C:\" while the run directory stays the drive designator.
        const bool driveOnly = directory.Length() == 2 && directory.View()[1] == ':';
        if (!directory.Empty()) PlatformSetCurrentDirectory(driveOnly ? ConcatTexts({directory, "\\"}) : directory);
        return directory;
    }();
    return runDirectory;
}
