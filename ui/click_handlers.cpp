#include "click_handlers.h"

const char* const kHelpTitle = "Moxtrel0.1测试版";
const char* const kHelpText =
    "    看到别人有，自己也写来玩玩，很简单的几行代码。\r\n"
    "目标文件保存在原文件目录下。\r\n"
    "以：文件名_01   文件名_2....这样的样式存放。";

SplitMode SelectedMode(WindowOperations& window) {
    if (window.IsChecked(kRadioThreeFiles))
        return SplitMode::ThreeFiles;
    if (window.IsChecked(kRadioPieces500000))
        return SplitMode::Pieces500000;
    if (window.IsChecked(kRadioPieces1000000))
        return SplitMode::Pieces1000000;
    return SplitMode::TwoFiles;
}

void OnChooseFileClick(WindowOperations& window) {
    if (window.ChooseFile())
        window.SetPathText(window.ChosenFileName());
}

void OnStartClick(WindowOperations& window) {
    const ByteText path = window.PathText();
    const SplitMode mode = SelectedMode(window);
    const bool deleteSource = window.IsChecked(kDeleteCheck);
    RunSplitJob(path, mode, deleteSource,
                [&window](const ByteText& text) { window.ShowInformation(text, ByteText()); });
}

void OnExitClick(WindowOperations& window) {
    window.RequestDestruction();
}

void OnHelpClick(WindowOperations& window) {
    window.ShowInformation(kHelpText, kHelpTitle);
}
