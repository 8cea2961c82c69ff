// The program from start to end: run directory, main window, message loop, exit code.
#pragma once

#include <windows.h>

using MainWindowFactory = HWND (*)(HINSTANCE instance);

// Runs the program with the window the factory makes, shown and driven by the message loop
// until it has been destroyed; gives the exit code: 0 then, or -1 after the error box when
// the factory could not make the window.
int RunProgram(HINSTANCE instance, MainWindowFactory createMainWindow);

// The error box's title and text for a window that could not be made.
extern const char* const kStartFailureTitle;
extern const char* const kStartFailureText;
