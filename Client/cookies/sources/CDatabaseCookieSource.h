#pragma once

#include "cookies/CCookieSource.h"
#include "cookies/sources/CBrowserProfiles.h"
#include "cookies/sources/CDatabaseCookie.h"

#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

class CSqliteDatabase;

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

// A source whose stores are browsers' SQLite databases: one per profile. A store that cannot
// be read is skipped with a notice; a store is written only by deleting the rows listed, and
// never while its browser runs. A site's rows in a store go in one transaction; in a batch,
// one transaction per store holds all its sites, each site in a savepoint of its own, and
// commits when the batch ends or a site fails: each commit waits for the disk.
class CDatabaseCookieSource : public CCookieSource {
public:
    void Prepare() override;
    void Enumerate(CCookieSink& sink) override;
    bool DeleteCookie(const CRefPtr<CCookie>& cookie) override;
    bool DeleteCookies(const CCookieList& cookies) override;
    void BeginDeleteBatch() override;
    bool EndDeleteBatch() noexcept override;
    // Reads each cookie's row again, found by the identity read at load, with the database
    // open for this call alone. A row that is gone, or a store that cannot be read now, leaves
    // the cookie described as the load found it, with the reason.
    void DescribeCookies(const CCookieList& cookies, CCookieDescriptions& descriptions) override;

protected:
    CDatabaseCookieSource(CookieKind kind, std::shared_ptr<CBrowserProfiles> profiles,
                          const CCookieTable& table);
    ~CDatabaseCookieSource();

    // Every store of this source's browsers, found afresh for each load. A browser or profile
    // whose folder cannot be read is told to the sink as a skipped store; the rest are found.
    virtual std::vector<CBrowserStore> FindStores(CCookieSink& sink) = 0;

    const std::shared_ptr<CBrowserProfiles> m_profiles;
    // Set once by Prepare, then only read.
    std::wstring m_localAppData;
    std::wstring m_appData;

private:
    class CWriter;

    // False when the table lacks a column this source needs.
    bool ReadStore(const std::shared_ptr<const CBrowserStore>& store, CCookieSink& sink);
    void DescribeStore(const CBrowserStore& store, const std::vector<CDatabaseCookie*>& cookies,
                       CCookieDescriptions& descriptions);
    // Raises CSqliteError; false when the table lacks a column the details need.
    bool ReadDescriptions(const CBrowserStore& store, const std::vector<CDatabaseCookie*>& cookies,
                          CCookieDescriptions& descriptions);
    // What the load read of the cookie's row, and why that is all.
    static CCookieDescription DescribeAsLoaded(CDatabaseCookie& cookie,
                                               const std::wstring& problem);
    bool DeleteRows(const CBrowserStore& store, const std::vector<const CRowIdentity*>& rows);
    // The open database of a batch, or one opened for this delete alone.
    CWriter& GetWriter(const CBrowserStore& store, std::unique_ptr<CWriter>& single);
    bool IsBrowserOpen(const CBrowserStore& store);
    // Commits what the batch has deleted in each store and lets every store go. False when a
    // commit failed; that failure has been shown.
    bool CommitWriters() noexcept;
    static void ShowCommitFailure(const std::wstring& reason) noexcept;

    const CCookieTable& m_table;
    // Only the deleting thread uses these.
    bool m_inBatch = false;
    // A failure in this batch rolled back a store's whole transaction, sites that had
    // succeeded before it included.
    bool m_batchLost = false;
    // Database path -> its connection, open until the batch ends.
    std::map<std::wstring, std::unique_ptr<CWriter>> m_writers;
};

// A FILETIME from microseconds after the epoch that is `epoch` microseconds after 1601-01-01.
// Zero or less, and a time beyond what a FILETIME holds, are unknown (0).
FILETIME FileTimeFromMicroseconds(std::int64_t microseconds, std::int64_t epoch);
