#pragma once

#include "sqlite/CSqliteDatabase.h"

// One write transaction: takes the write lock at once, and rolls back unless committed.
class CSqliteTransaction {
public:
    explicit CSqliteTransaction(CSqliteDatabase& db);
    CSqliteTransaction(const CSqliteTransaction&) = delete;
    CSqliteTransaction& operator=(const CSqliteTransaction&) = delete;
    ~CSqliteTransaction();

    void Commit();

private:
    CSqliteDatabase& m_db;
    bool m_open = true;
};
