#pragma once

#include "framework/UniqueHandle.h"

#include <cstdint>
#include <string>

struct sqlite3;
struct sqlite3_stmt;

struct CSqliteStatementTraits {
    using Handle = sqlite3_stmt*;
    static Handle Null() noexcept { return nullptr; }
    static void Close(Handle h) noexcept;
};

// One prepared statement. Parameters and columns count from 1 and 0, as in SQLite.
class CSqliteStatement {
public:
    CSqliteStatement(sqlite3* db, const std::string& sql);

    void Bind(int parameter, std::int64_t value);
    void Bind(int parameter, const std::wstring& value);
    void BindNull(int parameter);
    // True while there is a row to read; false when the statement is done.
    bool Step();
    // Ready to run again with new parameters.
    void Reset();

    bool IsNull(int column);
    std::int64_t GetInt64(int column);
    std::wstring GetText(int column);

private:
    void Check(int code);

    sqlite3* m_db;
    CUniqueHandle<CSqliteStatementTraits> m_statement;
};
