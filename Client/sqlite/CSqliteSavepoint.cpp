#include "sqlite/CSqliteSavepoint.h"

#include <exception>

CSqliteSavepoint::CSqliteSavepoint(CSqliteDatabase& db) : m_db(db) {
    m_db.Execute("SAVEPOINT part");
}

CSqliteSavepoint::~CSqliteSavepoint() {
    if (m_open) {
        try {
            m_db.Execute("ROLLBACK TO part; RELEASE part");
        } catch (const std::exception&) {
            // The failure has ended the whole transaction, and the savepoint with it.
        }
    }
}

void CSqliteSavepoint::Release() {
    m_db.Execute("RELEASE part");
    m_open = false;
}
