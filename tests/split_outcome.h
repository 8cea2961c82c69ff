// What the reliability tests check after a run of the split job: a small model of the parts a
// complete run writes, and the one promise that the source keeps its bytes unless every one of
// them reached the part files.
#pragma once

#include <string>
#include <vector>

#include "byte_text.h"
#include "split_job.h"

// The contents of the parts that a complete run writes for text, in part order, at most 20:
// halves and thirds with the remainder in the last part, or pieces of 500,000 or 1,000,000
// bytes and one more (empty when the text is a whole number of pieces).
std::vector<std::string> ModelParts(const std::string& text, SplitMode mode);
// "_01.TXT".."_03.TXT" for halves and thirds, "_1.TXT", "_2.TXT"... for pieces.
std::string ModelSuffix(SplitMode mode, int n);
// The paths of the parts of a source in folder with the base name base.
std::vector<ByteText> ModelPartPaths(const ByteText& folder, const std::string& base, SplitMode mode,
                                     size_t count);
// A text of n bytes with double-byte characters and CR LF lines, and no 0x00 or 0x1A.
std::string ChineseText(size_t n);

// Runs the job and collects the messages it showed, in order.
std::vector<std::string> RunCollecting(const ByteText& source, SplitMode mode, bool deleteSource);

// The outcome of a run: the source is either there with every byte it had, or gone after a
// silent run whose parts, joined in order, hold every byte of the file.
void ExpectNothingLost(const ByteText& source, const std::string& content, const std::vector<ByteText>& parts,
                       const std::vector<std::string>& messages);
// Every part holds exactly its model content.
void ExpectParts(const std::vector<ByteText>& parts, const std::vector<std::string>& contents);

// The message of a run in which a part could not be written.
std::string WriteFailedMessage(bool deleteSource);
// A run of the source s.txt in folder that ran out of room: it says so, the first part is
// whole, a later one is not, every part that exists holds a beginning of its model, and the
// source holds all it had.
void ExpectStoppedForLackOfRoom(const ByteText& source, const std::string& content, SplitMode mode,
                                const ByteText& folder, bool deleteSource, const std::vector<std::string>& messages);
