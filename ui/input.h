// The main window's own keyboard and mouse handling. The window is not a dialog, so it moves
// the focus itself (Tab, Shift+Tab), moves the selection around the radio buttons with the
// arrow keys, and lets the user drag it by any free spot of its client area.
#pragma once

#include <windows.h>

#include "controls.h"

// What a key-down does in the main window.
enum class KeyAction {
    PassOn,         // not ours: the focused control or the system handles it
    FocusNext,      // Tab
    FocusPrevious,  // Shift+Tab
    RadioNext,      // Right or Down on a radio button
    RadioPrevious,  // Left or Up on a radio button
};

struct Modifiers {
    bool shift = false;
    bool control = false;
    bool alt = false;
};

KeyAction ClassifyKey(WPARAM virtualKey, Modifiers modifiers, bool radioHasFocus);

// The control after (or before) the given one in focus order, wrapping at both ends. A value
// that is no control gives the first control (the last going backwards).
ControlId NextInFocusOrder(int control, bool backwards);
// The radio button after (or before) the given one in the ring.
ControlId NextInRadioRing(ControlId radio, bool backwards);
bool IsRadio(int control);

// The message loop's filter: true when it consumed the message, which is then neither
// translated nor dispatched. Handles key-downs addressed to the window or its controls, and
// turns a left press on the bare client area into a drag of the window.
bool FilterMainWindowMessage(HWND mainWindow, const MSG& message);
