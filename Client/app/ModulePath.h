#pragma once

#include <windows.h>

#include <string>

// The full path of a loaded module's file (null: the program itself), read whole however long
// it is. A failure is thrown as CWin32Exception.
std::wstring GetModulePath(HMODULE module);
