#include "sqlite/CSqliteTransaction.h"

CSqliteTransaction::CSqliteTransaction(CSqliteDatabase& db, Lock lock) : m_db(db) {
    m_db.Execute(lock == Lock::Exclusive ? "BEGIN EXCLUSIVE" : "BEGIN IMMEDIATE");
}

CSqliteTransaction::~CSqliteTransaction() {
    if (m_open) {
        try {
            m_db.Execute("ROLLBACK");
        } catch (const std::exception&) {
            // SQLite has rolled back by itself when the failure ended the transaction.
        }
    }
}

void CSqliteTransaction::Commit() {
    m_db.Execute("COMMIT");
    m_open = false;
}
