// The push buttons' handlers against a window made of plain fields, with the real split job
// writing real files.
#include "click_handlers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "test_files.h"

namespace {

class FakeWindow : public WindowOperations {
  public:
    std::string path;
    std::set<int> checked;
    bool chooserAnswer = false;
    std::string chooserName;
    bool destructionRequested = false;
    std::vector<std::pair<std::string, std::string>> shown;  // text, title

    ByteText PathText() override { return ByteText(path); }
    void SetPathText(const ByteText& text) override { path = std::string(text.View()); }
    bool IsChecked(ControlId control) override { return checked.count(control) != 0; }
    void RequestDestruction() override { destructionRequested = true; }
    void ShowInformation(const ByteText& text, const ByteText& title) override {
        shown.emplace_back(std::string(text.View()), std::string(title.View()));
    }
    bool ChooseFile() override { return chooserAnswer; }
    ByteText ChosenFileName() override { return ByteText(chooserName); }
};

TEST(ChooseFileClick, ChosenPathReplacesTheWholeTextAndCancelKeepsIt) {
    struct Case {
        bool chosen;
        std::string expected;
    };
    const Case cases[] = {
        {true, "C:\\data\\日志.txt"},
        {false, "typed by the user"},
    };
    for (const Case& c : cases) {
        FakeWindow window;
        window.path = "typed by the user";
        window.chooserAnswer = c.chosen;
        window.chooserName = "C:\\data\\日志.txt";
        OnChooseFileClick(window);
        EXPECT_EQ(window.path, c.expected) << "chosen=" << c.chosen;
        EXPECT_TRUE(window.shown.empty());
    }
}

TEST(StartClick, SplitsByTheCheckedRadioAndHonoursTheDeleteBox) {
    const std::string content(1'200'001, 'x');
    struct Case {
        ControlId radio;
        bool deleteChecked;
        std::vector<std::string> parts;
    };
    const Case cases[] = {
        {kRadioTwoFiles, true, {"src_01.TXT", "src_02.TXT"}},
        {kRadioThreeFiles, false, {"src_01.TXT", "src_02.TXT", "src_03.TXT"}},
        {kRadioPieces500000, true, {"src_1.TXT", "src_2.TXT", "src_3.TXT"}},
        {kRadioPieces1000000, false, {"src_1.TXT", "src_2.TXT"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.radio);
        TestFolder folder;
        WriteFileBytes(folder / "src.txt", content);
        FakeWindow window;
        window.path = std::string((folder / "src.txt").View());
        window.checked = {c.radio};
        if (c.deleteChecked)
            window.checked.insert(kDeleteCheck);
        OnStartClick(window);

        EXPECT_TRUE(window.shown.empty());
        std::vector<std::string> expectedNames = c.parts;
        if (!c.deleteChecked)
            expectedNames.push_back("src.txt");
        std::sort(expectedNames.begin(), expectedNames.end());
        EXPECT_EQ(folder.Names(), expectedNames);
        std::string joined;
        for (const std::string& part : c.parts) joined += ReadFileBytes(folder / part).value_or("");
        EXPECT_EQ(joined, content);
    }
}

TEST(StartClick, JobMessagesGoToBoxesWithTheDefaultTitle) {
    TestFolder folder;
    WriteFileBytes(folder / "small.txt", "only a few bytes");
    struct Case {
        std::string path;
        ControlId radio;
        std::string message;
    };
    const Case cases[] = {
        {"", kRadioTwoFiles, "文件不存在！"},
        {std::string((folder / "missing.txt").View()), kRadioThreeFiles, "文件不存在！"},
        {std::string((folder / "small.txt").View()), kRadioPieces500000, "文件不用分割！"},
    };
    for (const Case& c : cases) {
        FakeWindow window;
        window.path = c.path;
        window.checked = {c.radio, kDeleteCheck};
        OnStartClick(window);
        ASSERT_EQ(window.shown.size(), 1u) << c.path;
        EXPECT_EQ(window.shown[0].first, c.message);
        EXPECT_EQ(window.shown[0].second, "");  // left out: the box uses its default title
        EXPECT_EQ(window.path, c.path);
    }
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"small.txt"});
}

TEST(HelpClick, ShowsTheThreeLinesUnderTheProgramsTitle) {
    FakeWindow window;
    OnHelpClick(window);
    ASSERT_EQ(window.shown.size(), 1u);
    EXPECT_EQ(window.shown[0].first,
              "    看到别人有，自己也写来玩玩，很简单的几行代码。\r\n"
              "目标文件保存在原文件目录下。\r\n"
              "以：文件名_01   文件名_2....这样的样式存放。");
    EXPECT_EQ(window.shown[0].second, "Moxtrel0.1测试版");
    EXPECT_FALSE(window.destructionRequested);
}

TEST(ExitClick, OnlyRequestsDestruction) {
    FakeWindow window;
    window.path = "x";
    OnExitClick(window);
    EXPECT_TRUE(window.destructionRequested);
    EXPECT_TRUE(window.shown.empty());
    EXPECT_EQ(window.path, "x");
}

}  // namespace
