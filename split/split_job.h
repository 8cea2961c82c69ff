// The split job: what the Start button does. It reads the source whole, cuts it into parts by
// the selected mode, writes each part beside the source, and deletes the source when asked,
// but only once every byte of the file has safely reached the part files.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include "byte_text.h"

enum class SplitMode { TwoFiles, ThreeFiles, Pieces500000, Pieces1000000 };

// Shows a message to the user and returns once it has been closed.
using MessageFunction = std::function<void(const ByteText& text)>;

// Carries out one run. Reports only through showInformation: a missing, unreadable or too
// large source, a source too small for a fixed-size mode, and a run whose parts do not hold
// every byte of the file (the source is then kept). A complete run ends silently.
void RunSplitJob(const ByteText& sourcePath, SplitMode mode, bool deleteSource,
                 const MessageFunction& showInformation);

// The parts of one run, slot n holding part n (from 1). A run never makes more than 20.
class PartTable {
public:
    static constexpr int32_t kSlots = 20;
    void Store(int32_t n, ByteText text) { slots_.at(n - 1) = std::move(text); }
    const ByteText& Slot(int32_t n) const { return slots_.at(n - 1); }

private:
    std::array<ByteText, kSlots> slots_;
};

// The two texts a run derives from the source path to name its outputs.
struct SourceName {
    ByteText directory;  // up to and including the last backslash; empty without one
    ByteText baseName;   // the file name up to its last "."; empty without one or for a leading "."
};
SourceName SplitSourcePath(const ByteText& path);

// How many parts a mode makes of a text of m bytes: 2, 3, or m / K + 1 pieces of K bytes.
int32_t PartCount(SplitMode mode, int32_t m);
// Part n (from 1) of the text as the mode cuts it.
ByteText CutPart(const ByteText& text, SplitMode mode, int32_t n);
// The file name of part n: directory, base name and "_01.TXT"... or "_n.TXT".
ByteText PartFileName(const SourceName& name, SplitMode mode, int32_t n);

// The messages of a run, as code page 936 texts.
extern const char* const kMessageNoSuchFile;
extern const char* const kMessageNothingToSplit;
extern const char* const kMessageUnreadable;
extern const char* const kMessageTooLarge;
extern const char* const kMessageTooManyPieces;
extern const char* const kMessageWriteFailed;
extern const char* const kMessageEndedEarly;
extern const char* const kMessageSourceChanged;
extern const char* const kMessageSourceKept;
