#include "input.h"

#include <iterator>

KeyAction ClassifyKey(WPARAM virtualKey, Modifiers modifiers, bool radioHasFocus) {
    const bool plain = !modifiers.shift && !modifiers.control && !modifiers.alt;
    switch (virtualKey) {
        case VK_TAB:
            if (plain)
                return KeyAction::FocusNext;
            if (modifiers.shift && !modifiers.control && !modifiers.alt)
                return KeyAction::FocusPrevious;
            return KeyAction::PassOn;
        case VK_RIGHT:
        case VK_DOWN:
            return plain && radioHasFocus ? KeyAction::RadioNext : KeyAction::PassOn;
        case VK_LEFT:
        case VK_UP:
            return plain && radioHasFocus ? KeyAction::RadioPrevious : KeyAction::PassOn;
        default:
            return KeyAction::PassOn;
    }
}

ControlId NextInFocusOrder(int control, bool backwards) {
    for (int i = 0; i < kControlCount; ++i) {
        if (kControls[i].id != control)
            continue;
        const int step = backwards ? kControlCount - 1 : 1;
        return kControls[(i + step) % kControlCount].id;
    }
    return kControls[backwards ? kControlCount - 1 : 0].id;
}

bool IsRadio(int control) {
    for (ControlId radio : kRadioRing) {
        if (radio == control)
            return true;
    }
    return false;
}

ControlId NextInRadioRing(ControlId radio, bool backwards) {
    constexpr int n = static_cast<int>(std::size(kRadioRing));
    for (int i = 0; i < n; ++i) {
        if (kRadioRing[i] == radio)
            return kRadioRing[(i + (backwards ? n - 1 : 1)) % n];
    }
    return kRadioRing[0];
}

namespace {

bool KeyIsDown(int virtualKey) {
    return (GetKeyState(virtualKey) & 0x8000) != 0;
}

// Checks one radio button, clears the other three, and gives it the focus.
void SelectRadio(HWND mainWindow, ControlId radio) {
    for (ControlId other : kRadioRing) {
        SendDlgItemMessageA(mainWindow, other, BM_SETCHECK,
                            other == radio ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    SetFocus(GetDlgItem(mainWindow, radio));
}

bool OnKeyDown(HWND mainWindow, WPARAM virtualKey) {
    const HWND focus = GetFocus();
    const int focused = focus != nullptr && IsChild(mainWindow, focus) ? GetDlgCtrlID(focus) : 0;
    const Modifiers modifiers{KeyIsDown(VK_SHIFT), KeyIsDown(VK_CONTROL), KeyIsDown(VK_MENU)};
    switch (ClassifyKey(virtualKey, modifiers, IsRadio(focused))) {
        case KeyAction::PassOn:
            return false;
        case KeyAction::FocusNext:
            SetFocus(GetDlgItem(mainWindow, NextInFocusOrder(focused, false)));
            return true;
        case KeyAction::FocusPrevious:
            SetFocus(GetDlgItem(mainWindow, NextInFocusOrder(focused, true)));
            return true;
        case KeyAction::RadioNext:
            SelectRadio(mainWindow, NextInRadioRing(static_cast<ControlId>(focused), false));
            return true;
        case KeyAction::RadioPrevious:
            SelectRadio(mainWindow, NextInRadioRing(static_cast<ControlId>(focused), true));
            return true;
    }
    return false;
}

}  // namespace

bool FilterMainWindowMessage(HWND mainWindow, const MSG& message) {
    if (message.hwnd == nullptr || !IsWindow(mainWindow))
        return false;
    const bool ours = message.hwnd == mainWindow || IsChild(mainWindow, message.hwnd);
    if (!ours)
        return false;
    switch (message.message) {
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            return OnKeyDown(mainWindow, message.wParam);
        case WM_LBUTTONDOWN:
            if (message.hwnd == mainWindow) {
                // As if the title bar had been pressed: the system's move loop drags the window.
                POINT point{static_cast<short>(LOWORD(message.lParam)),
                            static_cast<short>(HIWORD(message.lParam))};
                ClientToScreen(mainWindow, &point);
                PostMessageA(mainWindow, WM_NCLBUTTONDOWN, HTCAPTION, MAKELPARAM(point.x, point.y));
            }
            return false;
        default:
            return false;
    }
}
