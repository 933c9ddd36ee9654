#pragma once

#include <windows.h>

#include <string>

// The program's product version with full stops between its numbers ("1.3.0.23"), from
// its own version resource. Throws CWin32Exception when a system call fails and CException
// ("Failed retrieving '%s' from version resource") when the resource lacks an entry.
std::wstring GetProductVersion();

// The same from the version resource of any file.
std::wstring ReadProductVersion(const std::wstring& file);

// The whole path of a loaded module (null: the program), however long: the buffer grows from
// `initialSize` characters until the path fits, so a cut-short path is never used.
std::wstring GetModulePath(HMODULE module, DWORD initialSize = MAX_PATH);
