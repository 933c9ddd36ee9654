#pragma once

#include "framework/UniqueHandle.h"

#include <windows.h>

#include <string>

// Thin registry operations. Each raises CWin32Exception (with the system text) for any error
// it does not tolerate.

// Opens parent\subKey for reading and writing into `key` (closing what it held). Returns true
// when the key existed; when it did not and `create` is set, creates it and returns false.
// A missing key without `create` returns false and leaves `key` empty.
bool OpenKey(CRegKey& key, HKEY parent, const std::wstring& subKey, bool create);

void SetStringValue(HKEY key, const std::wstring& name, const std::wstring& text);
// False when there is no such value or it holds no string.
bool GetStringValue(HKEY key, const std::wstring& name, std::wstring& text);

// A value that is already gone is no error.
void DeleteValue(HKEY key, const std::wstring& name);

// Deletes subKey with everything below it; a missing subKey is no error.
void DeleteKeyTree(HKEY key, const std::wstring& subKey);

// The name of the value at `index`; false once there are no more. Names of any length the
// registry allows are read whole.
bool EnumValueName(HKEY key, DWORD index, std::wstring& name);
