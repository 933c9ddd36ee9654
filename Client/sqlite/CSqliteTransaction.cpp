#include "sqlite/CSqliteTransaction.h"

CSqliteTransaction::CSqliteTransaction(CSqliteDatabase& db) : m_db(db) {
    m_db.Execute("BEGIN IMMEDIATE");
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
