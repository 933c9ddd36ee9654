#pragma once

#include <windows.h>

#include <functional>
#include <string>

// Loads one entry of the program's string table, with "<APPNAME>", "<REGKEY>" and "<WEBSITE>"
// expanded. A missing entry gives the empty string. Nothing is cached.
std::wstring LoadExpandedString(UINT id);

// The text of one entry exactly as stored; empty when there is none.
std::wstring LoadPlainString(UINT id);

// The expansion rules over any loader, so they can be checked against a table of our own.
std::wstring ExpandString(UINT id, const std::function<std::wstring(UINT)>& load);

// A failure message: the fixed text of `fixedTextId`, two blanks, then the reason.
std::wstring FailureText(UINT fixedTextId, const std::wstring& reason);

// printf-style formatting of a loaded format string.
std::wstring FormatString(const wchar_t* format, ...);
