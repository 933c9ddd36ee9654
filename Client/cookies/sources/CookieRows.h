#pragma once

#include "cookies/CCookie.h"
#include "cookies/CookieKind.h"
#include "cookies/RefCount.h"
#include "cookies/SharedText.h"
#include "cookies/sources/CDatabaseCookie.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class CSqliteStatement;

// Where a browser keeps its cookies in its SQLite database.
struct CCookieTable {
    const char* table;
    // The row's key: "rowid", or the column that is the row id.
    const char* key;
    const char* host;
    const char* created;
    const char* lastUsed;
    // Which store of several a cookie lives in (partition, container); null when the browser's
    // layout may lack it.
    const char* partition;
    bool partitionRequired;
    // Microseconds from 1601-01-01 to the epoch of the table's times.
    std::int64_t epoch;
    // The expiry, since the same epoch, in units of `expiryUnit` microseconds; from the layout
    // "PRAGMA user_version" names `finerExpiryVersion` on (0: never), in `finerExpiryUnit`.
    const char* expires;
    std::int64_t expiryUnit;
    int finerExpiryVersion;
    std::int64_t finerExpiryUnit;
};

// Table and column names are plain ASCII.
std::wstring WideName(const char* name);
bool HasColumn(const std::vector<std::wstring>& columns, const char* name);

// Whether the table has every column that finds and tells apart its rows.
bool HasRowColumns(const CCookieTable& table, const std::vector<std::wstring>& columns);
bool IsPartitioned(const CCookieTable& table, const std::vector<std::wstring>& columns);

// "SELECT" of the columns that CookieFromRow reads, "FROM" the table; a WHERE may follow.
std::string SelectRows(const CCookieTable& table, bool partitioned);
// The cookie of the row a SelectRows statement stands on, its texts shared through `texts`.
CRefPtr<CCookie> CookieFromRow(CSqliteStatement& row, const CCookieTable& table, CookieKind kind,
                               const std::shared_ptr<const CBrowserStore>& store, CTextPool& texts);

// " WHERE" the row is the one the identity was read from: parameters 1 to 6.
std::string WhereIdentity(const CCookieTable& table, bool partitioned);
void BindIdentity(CSqliteStatement& statement, const CRowIdentity& row, bool partitioned);

// A FILETIME from microseconds after the epoch that is `epoch` microseconds after 1601-01-01.
// Zero or less, and a time beyond what a FILETIME holds, are unknown (0).
FILETIME FileTimeFromMicroseconds(std::int64_t microseconds, std::int64_t epoch);
