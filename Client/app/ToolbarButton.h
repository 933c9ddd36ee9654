#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The browser's toolbar button and Tools-menu entry that start the program, registered as a
// toolbar extension under HKEY_LOCAL_MACHINE for the program's GUID.

struct CToolbarValue {
    std::wstring name;
    std::wstring data;
};

// The key below HKEY_LOCAL_MACHINE, with the GUID in registry form (braces, upper case).
std::wstring ToolbarButtonKeyPath(const GUID& guid);

// The extension's eight values for a program at `programPath`, in the order they are written.
std::vector<CToolbarValue> ToolbarButtonValues(const std::wstring& programPath);

// Both throw CWin32Exception on a registry failure. A registration that fails part-way keeps
// the values already written.
void RegisterToolbarButton(const GUID& guid);

// Removes the extension key and the program's per-user settings; either may be missing.
void UnregisterToolbarButton(const GUID& guid);
