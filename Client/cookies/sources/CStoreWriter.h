#pragma once

#include "cookies/CCookie.h"
#include "cookies/sources/CookieRows.h"
#include "sqlite/CSqliteDatabase.h"
#include "sqlite/CSqliteStatement.h"
#include "sqlite/CSqliteTransaction.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

// A browser's cookie database opened for deleting rows. It holds one transaction, and with it
// the file against every other reader and writer, from its opening (which waits out a reader
// that is there) to Commit; each site's rows go in a savepoint of their own. Every failure
// raises CSqliteError.
class CStoreWriter {
public:
    CStoreWriter(const std::shared_ptr<const CBrowserStore>& store, const CCookieTable& table,
                 CookieKind kind);

    // A trigger on the cookie table would run code the file brings on our delete.
    bool HasTriggers() const noexcept { return m_triggers; }

    // Deletes the rows all together or, on failure, none of them, and appends to `appeared`
    // the cookies of the site `domainKey` that the browser added since the load, which stay.
    void Delete(const std::vector<const CRowIdentity*>& rows, const std::wstring& domainKey,
                CCookieList& appeared);

    // Makes the deletes last; a transaction a failure has ended is only let go.
    void Commit();

    // Whether a failure has rolled back the whole transaction, earlier sites included.
    bool LostBatch() const noexcept { return m_transaction && !m_db.InTransaction(); }

private:
    void Open();

    const std::shared_ptr<const CBrowserStore> m_store;
    const CCookieTable& m_table;
    const CookieKind m_kind;
    CSqliteDatabase m_db;
    bool m_partitioned = false;
    bool m_triggers = false;
    std::optional<CSqliteStatement> m_remove;
    std::optional<CSqliteStatement> m_remaining;
    // Last, so that it rolls back before the statements and the database go.
    std::optional<CSqliteTransaction> m_transaction;
};
