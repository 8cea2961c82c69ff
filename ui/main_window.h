// MainWindow: the program's only window, with the path box, the choose-file button, the four
// mode radio buttons, the delete check box and the Start, Exit and Help buttons.
#pragma once

#include <windows.h>

constexpr char kMainWindowClass[] = "MoxtrelMainWindow";
constexpr int kMainWindowWidth = 316;  // outer size, frame and title bar included
constexpr int kMainWindowHeight = 183;
// Posted by Exit: destroys the window once the click has been handled.
constexpr UINT kRequestDestruction = WM_APP + 1;

// The window's top-left corner that centres it on a screen of the given size.
POINT CentredPosition(int screenWidth, int screenHeight);

// Creates the window hidden, centred on the primary screen, with its controls in their
// initial states, and runs its creation handler. nullptr when the window cannot be made.
HWND CreateMainWindow(HINSTANCE instance);
