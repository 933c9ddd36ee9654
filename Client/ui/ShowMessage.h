#pragma once

#include <windows.h>

#include <string>

// Every message box of the program: the product name as caption, owned by the calling
// thread's active window (none on the loading thread). The box's result is not used.
void ShowMessage(const std::wstring& text, UINT type);
