#include "sqlite/CSqliteError.h"

#include <sqlite3.h>

CSqliteError::CSqliteError(int extendedCode, unsigned long systemError, std::wstring text)
    : m_extendedCode(extendedCode), m_systemError(systemError), m_text(std::move(text)) {
    // SQLite's texts are plain English; what() only serves code that knows no wide text.
    for (wchar_t each : m_text) {
        m_what.push_back(each < 0x80 ? static_cast<char>(each) : '?');
    }
}

bool CSqliteError::IsNotADatabase() const noexcept {
    return GetCode() == SQLITE_NOTADB;
}

bool CSqliteError::IsDamaged() const noexcept {
    return GetCode() == SQLITE_CORRUPT;
}
