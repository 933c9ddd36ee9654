#pragma once

#include <exception>
#include <string>

// A failed SQLite call: its extended result code, the system's error code behind it (0 when
// there is none) and SQLite's own text for it.
class CSqliteError : public std::exception {
public:
    CSqliteError(int extendedCode, unsigned long systemError, std::wstring text);

    // The primary result code (SQLITE_BUSY, SQLITE_CORRUPT, ...).
    int GetCode() const noexcept { return m_extendedCode & 0xFF; }
    int GetExtendedCode() const noexcept { return m_extendedCode; }
    // The file is no database, or one SQLite found damaged.
    bool IsNotADatabase() const noexcept;
    bool IsDamaged() const noexcept;
    unsigned long GetSystemError() const noexcept { return m_systemError; }
    const std::wstring& GetText() const noexcept { return m_text; }
    const char* what() const noexcept override { return m_what.c_str(); }

private:
    int m_extendedCode;
    unsigned long m_systemError;
    std::wstring m_text;
    std::string m_what;
};
