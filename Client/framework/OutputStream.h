#pragma once

#include "framework/UniqueHandle.h"

#include <windows.h>

#include <string>

// Where the command-line modes write their text: a console as text, a file or pipe as UTF-8.
// Move-only; a stream over a standard handle leaves that handle open.
class COutputStream {
public:
    // Writes nowhere: the process has no console and no redirected output (a scheduled task).
    COutputStream() = default;

    // Standard output or error (STD_OUTPUT_HANDLE, STD_ERROR_HANDLE): the handle the parent
    // passed when it redirected it; otherwise the console of the process that started this
    // one, attached now (a window program gets none of its own); otherwise nowhere.
    static COutputStream Standard(DWORD which);

    // A new file at `path`, replacing one there. False with the last error set when it cannot
    // be created.
    bool Create(const std::wstring& path);

    bool IsConsole() const noexcept { return m_console; }

    // False with the last error set when the text could not be written whole.
    bool Write(const std::wstring& text);

private:
    COutputStream(HANDLE borrowed, CFileHandle owned);

    HANDLE m_handle = nullptr;
    CFileHandle m_owned;
    bool m_console = false;
};
