#pragma once

#include "sqlite/CSqliteDatabase.h"

// One write transaction: takes the write lock at once, and rolls back unless committed.
class CSqliteTransaction {
public:
    enum class Lock {
        // Readers may go on until the commit.
        Write,
        // No reader either: waits for those there are, and lets none in until the end.
        Exclusive,
    };

    explicit CSqliteTransaction(CSqliteDatabase& db, Lock lock = Lock::Write);
    CSqliteTransaction(const CSqliteTransaction&) = delete;
    CSqliteTransaction& operator=(const CSqliteTransaction&) = delete;
    ~CSqliteTransaction();

    void Commit();

private:
    CSqliteDatabase& m_db;
    bool m_open = true;
};
