#include "program.h"

#include "file_ops.h"
#include "input.h"

const char* const kStartFailureTitle = "错误";
const char* const kStartFailureText = "运行时出错!\r\n\r\n错误信息：载入启动窗口失败\r\n";

int RunProgram(HINSTANCE instance, MainWindowFactory createMainWindow) {
    RunDirectory();  // fixes the program's folder and makes it the current directory
    const HWND window = createMainWindow(instance);
    if (window == nullptr) {
        MessageBoxA(nullptr, kStartFailureText, kStartFailureTitle, MB_OK | MB_ICONERROR);
        return -1;
    }
    ShowWindow(window, SW_SHOW);  // the activation hands the focus to the path box
    MSG message;
    BOOL got;
    while ((got = GetMessageA(&message, nullptr, 0, 0)) > 0) {
        if (FilterMainWindowMessage(window, message))
            continue;
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    return got == 0 ? static_cast<int>(message.wParam) : -1;
}
