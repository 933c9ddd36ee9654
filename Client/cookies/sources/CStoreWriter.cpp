#include "cookies/sources/CStoreWriter.h"

#include "cookies/DomainKey.h"
#include "sqlite/CSqliteSavepoint.h"

CStoreWriter::CStoreWriter(const std::shared_ptr<const CBrowserStore>& store,
                           const CCookieTable& table, CookieKind kind)
    : m_store(store), m_table(table), m_kind(kind),
      m_db(store->database, CSqliteDatabase::Mode::ReadWrite) {
    Open();
}

void CStoreWriter::Open() {
    // Set before the first read, so that a browser starting meanwhile can read nothing of the
    // store until the transaction ends: it never sees rows being deleted.
    m_db.Execute("PRAGMA locking_mode=EXCLUSIVE");
    // The browser folds its own write-ahead log in; its journal file stays where it keeps one.
    m_db.LeaveLogOnClose();
    bool logged = false;
    {
        CSqliteStatement mode = m_db.Prepare("PRAGMA journal_mode");
        logged = mode.Step() && mode.GetText(0) == L"wal";
    }
    if (!logged) {
        m_db.Execute("PRAGMA journal_mode=TRUNCATE");
    }
    const std::wstring table = WideName(m_table.table);
    m_partitioned = IsPartitioned(m_table, m_db.GetColumns(table));
    m_triggers = m_db.HasTriggers(table);
    m_remove.emplace(m_db.Prepare(std::string("DELETE FROM ") + m_table.table +
                                  WhereIdentity(m_table, m_partitioned)));
    // A row the browser added since the load has a higher key than any the load read: found
    // through the key's index, not a pass over every host.
    m_remaining.emplace(
        m_db.Prepare(SelectRows(m_table, m_partitioned) + " WHERE " + m_table.key + " > ?1"));
    // Waits, for the busy timeout, until a reader of the store (such as a load) is done.
    m_transaction.emplace(m_db, CSqliteTransaction::Lock::Exclusive);
}

void CStoreWriter::Delete(const std::vector<const CRowIdentity*>& rows,
                          const std::wstring& domainKey, CCookieList& appeared) {
    CSqliteSavepoint site(m_db);
    for (const CRowIdentity* row : rows) {
        BindIdentity(*m_remove, *row, m_partitioned);
        // A row that is gone already counts as deleted.
        m_remove->Step();
        m_remove->Reset();
    }
    CCookieList left;
    CTextPool texts;
    m_remaining->Bind(1, m_store->highestKey);
    while (m_remaining->Step()) {
        CRefPtr<CCookie> cookie = CookieFromRow(*m_remaining, m_table, m_kind, m_store, texts);
        if (DomainKeyFromHost(cookie->GetHost()) == domainKey) {
            left.push_back(std::move(cookie));
        }
    }
    m_remaining->Reset();
    site.Release();
    appeared.insert(appeared.end(), left.begin(), left.end());
}

void CStoreWriter::Commit() {
    if (m_transaction && m_db.InTransaction()) {
        m_transaction->Commit();
    }
    m_transaction.reset();
}
