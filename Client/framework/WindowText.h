#pragma once

#include <windows.h>

#include <string>

// The window's text as it is now; empty for a window without one.
std::wstring GetWindowString(HWND window);
