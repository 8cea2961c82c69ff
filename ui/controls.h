// The controls of the main window: their identifiers, and the table that places them.
// The rows stand in focus order, the order in which Tab visits them.
#pragma once

#include <windows.h>

enum ControlId : int {
    kPathBox = 101,       // 编辑框1
    kChooseButton,        // 按钮1
    kRadioTwoFiles,       // 单选框1
    kRadioThreeFiles,     // 单选框2
    kRadioPieces500000,   // 单选框3
    kRadioPieces1000000,  // 单选框4
    kStartButton,         // 按钮2
    kExitButton,          // 按钮3
    kDeleteCheck,         // 选择框1
    kHelpButton,          // 按钮4
};

struct ControlTemplate {
    ControlId id;
    const char* className;
    const char* caption;
    int left, top, width, height;  // in the main window's client area
    DWORD style;                   // WS_VISIBLE is added once all controls exist
    DWORD exStyle;
};

constexpr int kControlCount = 10;
extern const ControlTemplate kControls[kControlCount];

// The four radio buttons, in ring order.
constexpr ControlId kRadioRing[] = {kRadioTwoFiles, kRadioThreeFiles, kRadioPieces500000,
                                    kRadioPieces1000000};
