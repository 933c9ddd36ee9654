#pragma once

#include <windows.h>

#include <string>

// The system's message for a Win32 error code or an HRESULT, without the trailing line break.
std::wstring FormatErrorText(DWORD code);

void ThrowIfWin32Error(DWORD code);
// The text of a failed HRESULT: the thread's COM error object first, then the system text,
// then the "IDispatch error #%d" / "Unknown error 0x%0lX" forms.
void ThrowIfFailed(HRESULT hr);

// For Win32 calls that report failure through GetLastError(): read it at once.
[[noreturn]] void ThrowLastError();
