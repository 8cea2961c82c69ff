#include "split_job.h"

#include "file_ops.h"

const char* const kMessageNoSuchFile = "文件不存在！";
const char* const kMessageNothingToSplit = "文件不用分割！";
const char* const kMessageUnreadable = "文件无法读取！";
const char* const kMessageTooLarge = "文件太大，无法分割！";
const char* const kMessageTooManyPieces = "分割文件超过20个，只写入了前20个！";
const char* const kMessageWriteFailed = "有分割文件写入失败！";
const char* const kMessageEndedEarly = "文件含有结束字符，其后的内容没有分割！";
const char* const kMessageSourceChanged = "原文件在分割期间被其他程序改动！";
const char* const kMessageSourceKept = "原文件已保留。";

namespace {

bool IsFixedSize(SplitMode mode) {
    return mode == SplitMode::Pieces500000 || mode == SplitMode::Pieces1000000;
}

int32_t PieceSize(SplitMode mode) { return mode == SplitMode::Pieces500000 ? 500000 : 1000000; }

// Joins the lines that apply with CR LF.
ByteText JoinLines(std::initializer_list<std::pair<bool, const char*>> lines) {
    ByteText joined;
    for (const auto& [applies, line] : lines) {
        if (!applies) continue;
        joined = joined.Empty() ? ByteText(line) : ConcatTexts({joined, "\r\n", line});
    }
    return joined;
}

}  // namespace

SourceName SplitSourcePath(const ByteText& path) {
    const ByteText directory = TextLeft(path, ReverseFind(path, "\\"));
    const ByteText fileName = TextRight(path, TextLength(path) - TextLength(directory));
    return {directory, TextLeft(fileName, ReverseFind(fileName, ".") - 1)};
}

int32_t PartCount(SplitMode mode, int32_t m) {
    switch (mode) {
        case SplitMode::TwoFiles: return 2;
        case SplitMode::ThreeFiles: return 3;
        default: return TruncateToInt(static_cast<double>(m) / PieceSize(mode)) + 1;
    }
}

ByteText CutPart(const ByteText& text, SplitMode mode, int32_t n) {
    const int32_t m = TextLength(text);
    if (mode == SplitMode::TwoFiles) {
        const int32_t u = FloorToInt(static_cast<double>(m) / 2);
        return n == 1 ? TextLeft(text, u) : TextRight(text, m - u);
    }
    if (mode == SplitMode::ThreeFiles) {
        const int32_t u = FloorToInt(static_cast<double>(m) / 3);
        if (n == 1) return TextLeft(text, u);
        return n == 2 ? TextMid(text, u + 1, u) : TextMid(text, 2 * u + 1, m - 2 * u);
    }
    const int32_t k = PieceSize(mode);
    return TextMid(text, (n - 1) * k + 1, k);
}

ByteText PartFileName(const SourceName& name, SplitMode mode, int32_t n) {
    if (IsFixedSize(mode)) return ConcatTexts({name.directory, name.baseName, "_", IntToText(n), ".TXT"});
    static const char* const suffixes[] = {"_01.TXT", "_02.TXT", "_03.TXT"};
    return ConcatTexts({name.directory, name.baseName, suffixes[n - 1]});
}

void RunSplitJob(const ByteText& sourcePath, SplitMode mode, bool deleteSource,
                 const MessageFunction& showInformation) {
    PartTable parts;
    if (!FileExists(sourcePath)) {
        showInformation(kMessageNoSuchFile);
        return;
    }
    const SourceName name = SplitSourcePath(sourcePath);

    const FileNumber file = OpenFileReadWrite(sourcePath);
    const WholeRead source = ReadWholeFile(file);
    CloseFileNumber(file);
    if (source.status == ReadStatus::TooLarge) {
        showInformation(kMessageTooLarge);
        return;
    }
    if (source.status != ReadStatus::Read) {
        showInformation(kMessageUnreadable);
        return;
    }
    const ByteText& text = source.text;
    const int32_t m = TextLength(text);
    if (IsFixedSize(mode) && m <= PieceSize(mode)) {
        showInformation(kMessageNothingToSplit);
        return;
    }

    // Every part is cut before the first is written; parts share the source's bytes.
    const int32_t needed = PartCount(mode, m);
    const int32_t count = needed < PartTable::kSlots ? needed : PartTable::kSlots;
    for (int32_t n = 1; n <= count; ++n) parts.Store(n, CutPart(text, mode, n));

    // Parts that will replace a deleted source must be on the disk before it goes.
    const Durability durability = deleteSource ? Durability::Flushed : Durability::Cached;
    bool writeFailed = false;
    for (int32_t n = 1; n <= count; ++n) {
        if (!WriteBytesToFile(PartFileName(name, mode, n), TextToBytes(parts.Slot(n)), durability))
            writeFailed = true;
    }

    const bool tooManyPieces = needed > count;
    const bool endedEarly = m < source.fileLength;
    const bool complete = !tooManyPieces && !writeFailed && !endedEarly;
    // Another program may have written to the source since it was read.
    const bool changed = complete && deleteSource && !FileUnchangedSince(sourcePath, source.stamp);
    if (complete && !changed) {
        if (deleteSource) RemoveFile(sourcePath);
        return;
    }
    showInformation(JoinLines({{tooManyPieces, kMessageTooManyPieces},
                               {writeFailed, kMessageWriteFailed},
                               {endedEarly, kMessageEndedEarly},
                               {changed, kMessageSourceChanged},
                               {deleteSource, kMessageSourceKept}}));
}
