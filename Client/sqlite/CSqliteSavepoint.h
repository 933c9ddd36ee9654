#pragma once

#include "sqlite/CSqliteDatabase.h"

// A part of an open transaction that can be undone alone: rolled back unless released.
class CSqliteSavepoint {
public:
    explicit CSqliteSavepoint(CSqliteDatabase& db);
    CSqliteSavepoint(const CSqliteSavepoint&) = delete;
    CSqliteSavepoint& operator=(const CSqliteSavepoint&) = delete;
    ~CSqliteSavepoint();

    // Keeps what was done since the savepoint as part of the enclosing transaction.
    void Release();

private:
    CSqliteDatabase& m_db;
    bool m_open = true;
};
