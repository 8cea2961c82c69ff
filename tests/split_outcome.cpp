#include "split_outcome.h"

#include <gtest/gtest.h>

#include "test_files.h"

std::vector<std::string> ModelParts(const std::string& text, SplitMode mode) {
    const size_t m = text.size();
    switch (mode) {
        case SplitMode::TwoFiles: return {text.substr(0, m / 2), text.substr(m / 2)};
        case SplitMode::ThreeFiles: {
            const size_t u = m / 3;
            return {text.substr(0, u), text.substr(u, u), text.substr(2 * u)};
        }
        default: {
            const size_t k = mode == SplitMode::Pieces500000 ? 500000 : 1000000;
            std::vector<std::string> pieces;
            for (size_t start = 0; start <= m && pieces.size() < 20; start += k) pieces.push_back(text.substr(start, k));
            return pieces;
        }
    }
}

std::string ModelSuffix(SplitMode mode, int n) {
    if (mode == SplitMode::TwoFiles || mode == SplitMode::ThreeFiles) return "_0" + std::to_string(n) + ".TXT";
    return "_" + std::to_string(n) + ".TXT";
}

std::vector<ByteText> ModelPartPaths(const ByteText& folder, const std::string& base, SplitMode mode,
                                     size_t count) {
    std::vector<ByteText> paths;
    for (size_t n = 1; n <= count; ++n)
        paths.push_back(ConcatTexts({folder, "\\", ByteText(base + ModelSuffix(mode, static_cast<int>(n)))}));
    return paths;
}

std::string ChineseText(size_t n) {
    static const std::string line = "\xB7\xD6\xB8\xEE\xCE\xC4\xBC\xFE line \x5C\x81\x5C\xA1\xA3\r\n";
    std::string text;
    text.reserve(n + line.size());
    while (text.size() < n) text += line;
    text.resize(n);
    return text;
}

std::vector<std::string> RunCollecting(const ByteText& source, SplitMode mode, bool deleteSource) {
    std::vector<std::string> messages;
    RunSplitJob(source, mode, deleteSource,
                [&](const ByteText& text) { messages.push_back(std::string(text.View())); });
    return messages;
}

std::string WriteFailedMessage(bool deleteSource) {
    return deleteSource ? "有分割文件写入失败！\r\n原文件已保留。" : "有分割文件写入失败！";
}

void ExpectNothingLost(const ByteText& source, const std::string& content, const std::vector<ByteText>& parts,
                       const std::vector<std::string>& messages) {
    if (PathExists(source)) {
        EXPECT_TRUE(ReadFileBytes(source) == content) << "the source changed: " << source.CString();
        return;
    }
    EXPECT_TRUE(messages.empty()) << "a run that showed a message deleted its source";
    std::string joined;
    for (const ByteText& part : parts) joined += ReadFileBytes(part).value_or("");
    EXPECT_TRUE(joined == content) << "the source is gone but its parts hold " << joined.size() << " of "
                                   << content.size() << " bytes";
}

void ExpectParts(const std::vector<ByteText>& parts, const std::vector<std::string>& contents) {
    ASSERT_EQ(parts.size(), contents.size());
    for (size_t i = 0; i < parts.size(); ++i) {
        const auto bytes = ReadFileBytes(parts[i]);
        ASSERT_TRUE(bytes.has_value()) << parts[i].CString() << " is missing";
        EXPECT_TRUE(*bytes == contents[i]) << parts[i].CString() << " holds " << bytes->size() << " bytes, not "
                                           << contents[i].size();
    }
}

void ExpectStoppedForLackOfRoom(const ByteText& source, const std::string& content, SplitMode mode,
                                const ByteText& folder, bool deleteSource,
                                const std::vector<std::string>& messages) {
    const auto model = ModelParts(content, mode);
    const auto parts = ModelPartPaths(folder, "s", mode, model.size());
    EXPECT_EQ(messages, std::vector<std::string>{WriteFailedMessage(deleteSource)});
    EXPECT_EQ(ReadFileBytes(source), content);
    EXPECT_EQ(ReadFileBytes(parts[0]), model[0]) << "the first part had room";
    bool somePartShort = false;
    for (size_t n = 1; n <= parts.size(); ++n) {
        const auto bytes = ReadFileBytes(parts[n - 1]);
        if (!bytes || *bytes != model[n - 1]) somePartShort = true;
        if (bytes) {
            EXPECT_EQ(model[n - 1].compare(0, bytes->size(), *bytes), 0) << "part " << n << " holds other bytes";
        }
    }
    EXPECT_TRUE(somePartShort);
}
