// Moxtrel.exe: splits one plain-text file into several.
#include <windows.h>

#include "main_window.h"
#include "program.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    return RunProgram(instance, CreateMainWindow);
}
