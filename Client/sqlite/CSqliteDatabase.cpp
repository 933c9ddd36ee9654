#include "sqlite/CSqliteDatabase.h"

#include "sqlite/CSqliteError.h"

#include <sqlite3.h>

#include <windows.h>

namespace {

// Long enough to wait out another reader's pass over a store, short enough that a browser
// holding its lock for good is reported rather than waited for.
constexpr int BusyTimeoutMilliseconds = 5000;

std::string ToUtf8(const std::wstring& text) {
    if (text.empty()) {
        return std::string();
    }
    const int size = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string result(static_cast<std::size_t>(size), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), result.data(),
                          size, nullptr, nullptr);
    return result;
}

int OpenFlags(CSqliteDatabase::Mode mode) {
    // Extended codes tell a locked file or a full disk apart from other failures.
    const int always = SQLITE_OPEN_EXRESCODE;
    switch (mode) {
    case CSqliteDatabase::Mode::ReadOnly:
        return always | SQLITE_OPEN_READONLY;
    case CSqliteDatabase::Mode::ReadWrite:
        return always | SQLITE_OPEN_READWRITE;
    case CSqliteDatabase::Mode::Create:
        break;
    }
    return always | SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE;
}

} // namespace

void CSqliteTraits::Close(Handle h) noexcept {
    ::sqlite3_close_v2(h);
}

void ThrowSqliteError(sqlite3* db, int code) {
    if (db == nullptr) {
        throw CSqliteError(code, 0, L"out of memory");
    }
    const auto* text = static_cast<const wchar_t*>(::sqlite3_errmsg16(db));
    throw CSqliteError(::sqlite3_extended_errcode(db),
                       static_cast<unsigned long>(::sqlite3_system_errno(db)),
                       text != nullptr ? text : L"");
}

CSqliteDatabase::CSqliteDatabase(const std::wstring& path, Mode mode) {
    const int code =
        ::sqlite3_open_v2(ToUtf8(path).c_str(), m_db.Receive(), OpenFlags(mode), nullptr);
    if (code != SQLITE_OK) {
        ThrowSqliteError(m_db.Get(), code);
    }
    ::sqlite3_busy_timeout(m_db.Get(), BusyTimeoutMilliseconds);
    // A file another program wrote may carry triggers, views or functions of its own: none of
    // them runs on our statements, and nothing we run can corrupt the file on purpose.
    Configure(SQLITE_DBCONFIG_DEFENSIVE, 1);
    Configure(SQLITE_DBCONFIG_TRUSTED_SCHEMA, 0);
}

void CSqliteDatabase::Configure(int option, int value) {
    const int code = ::sqlite3_db_config(m_db.Get(), option, value, nullptr);
    if (code != SQLITE_OK) {
        ThrowSqliteError(m_db.Get(), code);
    }
}

CSqliteStatement CSqliteDatabase::Prepare(const std::string& sql) {
    return CSqliteStatement(m_db.Get(), sql);
}

void CSqliteDatabase::Execute(const std::string& sql) {
    const int code = ::sqlite3_exec(m_db.Get(), sql.c_str(), nullptr, nullptr, nullptr);
    if (code != SQLITE_OK) {
        ThrowSqliteError(m_db.Get(), code);
    }
}

std::vector<std::wstring> CSqliteDatabase::GetColumns(const std::wstring& table) {
    CSqliteStatement columns = Prepare("SELECT name FROM pragma_table_info(?1)");
    columns.Bind(1, table);
    std::vector<std::wstring> names;
    while (columns.Step()) {
        names.push_back(columns.GetText(0));
    }
    return names;
}

long long CSqliteDatabase::GetChanges() {
    return ::sqlite3_changes64(m_db.Get());
}

bool CSqliteDatabase::InTransaction() const noexcept {
    return ::sqlite3_get_autocommit(m_db.Get()) == 0;
}

void CSqliteDatabase::LeaveLogOnClose() {
    Configure(SQLITE_DBCONFIG_NO_CKPT_ON_CLOSE, 1);
}

bool CSqliteDatabase::HasTriggers(const std::wstring& table) {
    CSqliteStatement triggers =
        Prepare("SELECT 1 FROM sqlite_master WHERE type = 'trigger' AND tbl_name = ?1 COLLATE "
                "NOCASE LIMIT 1");
    triggers.Bind(1, table);
    return triggers.Step();
}
