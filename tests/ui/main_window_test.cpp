// The main window as CreateMainWindow makes it, inspected from inside the process: the font of
// every control and the window's icons, which another process cannot read under Wine.
#include "main_window.h"

#include <gtest/gtest.h>

#include "controls.h"

namespace {

TEST(MainWindow, EveryControlUsesTheGuiFontAndTheWindowItsOwnIcon) {
    const HWND window = CreateMainWindow(GetModuleHandleA(nullptr));
    ASSERT_NE(window, nullptr);
    EXPECT_FALSE(IsWindowVisible(window)) << "made hidden, shown by the start-up";
    const HFONT guiFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    for (const ControlTemplate& item : kControls) {
        const HWND control = GetDlgItem(window, item.id);
        ASSERT_NE(control, nullptr) << item.id;
        EXPECT_EQ(reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)), guiFont)
            << item.id;
        EXPECT_TRUE(GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) << item.id;
    }

    const HICON big = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_BIG, 0));
    const HICON small = reinterpret_cast<HICON>(SendMessageA(window, WM_GETICON, ICON_SMALL, 0));
    ASSERT_NE(big, nullptr);
    EXPECT_EQ(big, small) << "one 32 x 32 image serves as both";
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(big, &info));
    BITMAP colour{};
    GetObjectA(info.hbmColor, sizeof colour, &colour);
    EXPECT_EQ(colour.bmWidth, 32);
    EXPECT_EQ(colour.bmHeight, 32);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);

    RECT outer;
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.right - outer.left, 316);
    EXPECT_EQ(outer.bottom - outer.top, 183);

    DestroyWindow(window);
    MSG message;
    bool quit = false;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE))
        quit = quit || message.message == WM_QUIT;
    EXPECT_TRUE(quit) << "the end of the window ends the message loop";
}

}  // namespace
