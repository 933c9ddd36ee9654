#pragma once

#include "framework/UniqueHandle.h"
#include "sqlite/CSqliteStatement.h"

#include <string>
#include <vector>

struct sqlite3;

struct CSqliteTraits {
    using Handle = sqlite3*;
    static Handle Null() noexcept { return nullptr; }
    static void Close(Handle h) noexcept;
};

// One connection to a database file. It waits a few seconds for another connection's lock,
// and runs no trigger or function that the file's schema brings. Every failure raises
// CSqliteError.
class CSqliteDatabase {
public:
    enum class Mode {
        ReadOnly,
        // Writes an existing file; never creates one.
        ReadWrite,
        Create,
    };

    CSqliteDatabase(const std::wstring& path, Mode mode);

    CSqliteStatement Prepare(const std::string& sql);
    // Runs one or more statements that return no rows.
    void Execute(const std::string& sql);
    // The names of a table's columns, in order; empty when there is no such table.
    std::vector<std::wstring> GetColumns(const std::wstring& table);
    // Rows changed by the last INSERT, UPDATE or DELETE.
    long long GetChanges();
    // False once a transaction has ended, also when a failure rolled it back by itself.
    bool InTransaction() const noexcept;
    // Closing the last connection normally copies a write-ahead log into the file and removes
    // it. The log is the owner's to fold in: this keeps it as it is.
    void LeaveLogOnClose();
    // Whether any trigger fires on a change of the table.
    bool HasTriggers(const std::wstring& table);

    sqlite3* Get() const noexcept { return m_db.Get(); }

private:
    void Configure(int option, int value);

    CUniqueHandle<CSqliteTraits> m_db;
};

// Raises the CSqliteError for the connection's last failure, whose result code is `code`.
[[noreturn]] void ThrowSqliteError(sqlite3* db, int code);
