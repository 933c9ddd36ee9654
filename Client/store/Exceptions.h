#pragma once

#include <windows.h>

#include <string>

// The program's own failures. Raised by value, caught by reference to CException at the
// edges (entry function, loading thread, registry-writing commands), which read only the text.
class CException {
public:
    CException(std::wstring text, DWORD code) : m_text(std::move(text)), m_code(code) {}
    virtual ~CException() = default;

    std::wstring GetText() const { return m_text; }
    DWORD GetCode() const noexcept { return m_code; }

private:
    std::wstring m_text;
    DWORD m_code;
};

// A Win32 error code. An empty text becomes the system's message for the code.
class CWin32Exception : public CException {
public:
    CWin32Exception(DWORD code, const std::wstring& text);
};

// An HRESULT; ThrowIfFailed composes the text before construction.
class CComException : public CException {
public:
    CComException(std::wstring text, HRESULT hr)
        : CException(std::move(text), static_cast<DWORD>(hr)) {}
};

// The text of the exception being handled: a CException's own text, a std::exception's
// through the ANSI code page, empty for anything else. Call only inside a catch block.
std::wstring CurrentExceptionText();
