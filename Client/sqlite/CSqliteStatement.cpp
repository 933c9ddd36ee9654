#include "sqlite/CSqliteStatement.h"

#include "sqlite/CSqliteDatabase.h"

#include <sqlite3.h>

void CSqliteStatementTraits::Close(Handle h) noexcept {
    ::sqlite3_finalize(h);
}

CSqliteStatement::CSqliteStatement(sqlite3* db, const std::string& sql) : m_db(db) {
    Check(::sqlite3_prepare_v2(db, sql.c_str(), static_cast<int>(sql.size() + 1),
                               m_statement.Receive(), nullptr));
}

void CSqliteStatement::Check(int code) {
    if (code != SQLITE_OK) {
        ThrowSqliteError(m_db, code);
    }
}

void CSqliteStatement::Bind(int parameter, std::int64_t value) {
    Check(::sqlite3_bind_int64(m_statement.Get(), parameter, value));
}

void CSqliteStatement::Bind(int parameter, const std::wstring& value) {
    Check(::sqlite3_bind_text16(m_statement.Get(), parameter, value.data(),
                                static_cast<int>(value.size() * sizeof(wchar_t)),
                                SQLITE_TRANSIENT));
}

void CSqliteStatement::BindNull(int parameter) {
    Check(::sqlite3_bind_null(m_statement.Get(), parameter));
}

bool CSqliteStatement::Step() {
    const int code = ::sqlite3_step(m_statement.Get());
    if (code == SQLITE_ROW) {
        return true;
    }
    if (code != SQLITE_DONE) {
        ThrowSqliteError(m_db, code);
    }
    return false;
}

void CSqliteStatement::Reset() {
    // A failed step is reported by Step itself; reset repeats that code.
    ::sqlite3_reset(m_statement.Get());
    ::sqlite3_clear_bindings(m_statement.Get());
}

bool CSqliteStatement::IsNull(int column) {
    return ::sqlite3_column_type(m_statement.Get(), column) == SQLITE_NULL;
}

std::int64_t CSqliteStatement::GetInt64(int column) {
    return ::sqlite3_column_int64(m_statement.Get(), column);
}

std::wstring CSqliteStatement::GetText(int column) {
    const auto* text =
        static_cast<const wchar_t*>(::sqlite3_column_text16(m_statement.Get(), column));
    if (text == nullptr) {
        return std::wstring();
    }
    const int bytes = ::sqlite3_column_bytes16(m_statement.Get(), column);
    return std::wstring(text, static_cast<std::size_t>(bytes) / sizeof(wchar_t));
}
