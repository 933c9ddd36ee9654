#pragma once

#include <windows.h>

#include <string>

// Small registry reads and writes for checking what the program left behind.
bool KeyExists(HKEY root, const wchar_t* path);
void CreateKey(HKEY root, const wchar_t* path);
// The REG_SZ value's text; empty when there is none.
std::wstring ReadString(HKEY root, const wchar_t* path, const wchar_t* name);
