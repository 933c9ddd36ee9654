#pragma once

#include <windows.h>

// Puts the window back where it was last closed, if that still fits wholly on a present
// monitor and is no smaller than `minimum`. Returns whether it was maximized then; the caller
// maximizes it once it shows. A placement that cannot be read is ignored.
bool RestoreWindowPlacement(HWND window, SIZE minimum);
// Keeps the window's normal rectangle and maximized state for the next start. A registry that
// refuses it loses only the placement.
void SaveWindowPlacement(HWND window);
