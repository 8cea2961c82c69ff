// The program's start when its window cannot be made: the error box, then exit code -1.
#include "program.h"

#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

namespace {

HWND NoWindow(HINSTANCE) {
    return nullptr;
}

struct SeenBox {
    std::string text;
    bool hasIcon = false;
    int buttons = 0;
};

BOOL CALLBACK ReadBoxChild(HWND child, LPARAM seen) {
    auto& box = *reinterpret_cast<SeenBox*>(seen);
    char className[32] = {};
    GetClassNameA(child, className, sizeof className);
    if (lstrcmpiA(className, "Button") == 0) {
        ++box.buttons;
    } else if (lstrcmpiA(className, "Static") == 0) {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            box.hasIcon = SendMessageA(child, STM_GETICON, 0, 0) != 0;
        } else {
            char text[256] = {};
            GetWindowTextA(child, text, sizeof text);
            if (text[0] != '\0')
                box.text = text;
        }
    }
    return TRUE;
}

TEST(StartFailure, ShowsTheErrorBoxAndEndsWithMinusOne) {
    std::atomic<bool> found{false};
    SeenBox seen;
    std::thread closer([&] {
        for (int i = 0; i < 500 && !found; ++i) {
            const HWND box = FindWindowA("#32770", "错误");
            if (box != nullptr && IsWindowVisible(box)) {
                EnumChildWindows(box, ReadBoxChild, reinterpret_cast<LPARAM>(&seen));
                found = true;
                PostMessageA(box, WM_COMMAND, IDOK, 0);
            }
            Sleep(20);
        }
    });
    const int exitCode = RunProgram(GetModuleHandleA(nullptr), NoWindow);
    closer.join();
    EXPECT_EQ(exitCode, -1);
    ASSERT_TRUE(found) << "no error box was shown";
    EXPECT_EQ(seen.text, "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n");
    EXPECT_TRUE(seen.hasIcon);
    EXPECT_EQ(seen.buttons, 1);
}

}  // namespace
