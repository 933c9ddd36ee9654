#pragma once

#include "cookies/CCookieSource.h"
#include "cookies/sources/CBrowserProfiles.h"
#include "cookies/sources/CDatabaseCookie.h"
#include "cookies/sources/CookieRows.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

class CException;
class CSqliteError;
class CStoreWriter;

// A source whose stores are browsers' SQLite databases: one per profile. A store reaches the
// sink only once it has been read to the end; one that cannot be read whole is skipped with a
// notice and never written. A store is written only by deleting the rows listed, never while
// its browser runs, and never where a trigger would run on the delete. In a batch, one
// transaction per store holds all its sites, each site in a savepoint of its own, and commits
// when the batch ends or a site fails: each commit waits for the disk.
class CDatabaseCookieSource : public CCookieSource {
public:
    using CCookieSource::DeleteCookies;
    using CCookieSource::EndDeleteBatch;

    void Prepare() override;
    void Enumerate(CCookieSink& sink) override;
    bool ReadFreedStore(const CStoreNotice& held, CCookieSink& sink) override;
    bool DeleteCookie(const CRefPtr<CCookie>& cookie) override;
    bool DeleteCookies(const CCookieList& cookies, CDeleteOutcome& outcome) override;
    bool PrepareDelete(const CCookieList& cookies, CDeleteOutcome& outcome) override;
    void BeginDeleteBatch() override;
    bool EndDeleteBatch(CCookieList& undone, CStoreNotices& failures) noexcept override;
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
    // What FindStores tells the sink of a browser whose profiles, or of a store whose file,
    // it could not look at: each is skipped.
    static CStoreNotice ProfilesUnreadable(CookieKind kind, const std::wstring& browser,
                                           const CException& error);
    static CStoreNotice StoreUnreadable(CookieKind kind, const std::wstring& browser,
                                        const std::wstring& profile, const std::wstring& database,
                                        const CException& error);

    const std::shared_ptr<CBrowserProfiles> m_profiles;
    // Set once by Prepare, then only read.
    std::wstring m_localAppData;
    std::wstring m_appData;

private:
    // A store's cookies grouped for one call, stores in the order their first cookie came.
    using CStoreCookies = std::vector<std::pair<CDatabaseCookie*, std::vector<CDatabaseCookie*>>>;
    // What a batch has open of one store, and the cookies it has deleted there so far.
    struct CBatchStore;

    static CStoreCookies ByStore(const CCookieList& cookies);
    // Hands the store's cookies to the sink once it has read them all, or tells it why not.
    void EnumerateStore(const std::shared_ptr<CBrowserStore>& store, CCookieSink& sink);
    // Every cookie of the store, or none: false when the table lacks a column this source
    // needs. Raises CSqliteError.
    bool ReadStore(const std::shared_ptr<CBrowserStore>& store, CCookieList& cookies,
                   bool& triggers);
    void DescribeStore(const CBrowserStore& store, const std::vector<CDatabaseCookie*>& cookies,
                       CCookieDescriptions& descriptions);
    // Raises CSqliteError; false when the table lacks a column the details need.
    bool ReadDescriptions(const CBrowserStore& store, const std::vector<CDatabaseCookie*>& cookies,
                          CCookieDescriptions& descriptions);
    // What the load read of the cookie's row, and why that is all.
    static CCookieDescription DescribeAsLoaded(CDatabaseCookie& cookie,
                                               const CStoreNotice& problem);
    bool DeleteRows(const std::vector<CDatabaseCookie*>& cookies, CDeleteOutcome& outcome);
    // The batch's writer of the store, opened (and locked) on first use; raises CSqliteError.
    CBatchStore& OpenStore(const CDatabaseCookie& cookie);
    // Whether the store may not be written now: its browser runs.
    bool IsRefused(const CBrowserStore& store);
    CStoreNotice WriteFailure(const CBrowserStore& store, const CSqliteError& error);
    // Commits what the batch has deleted in each store, lets every store go and hands the
    // reason to the outcome; false.
    bool Refuse(const CStoreNotice& reason, CDeleteOutcome& outcome);
    // Commits what the batch has deleted in each store and lets every store go. False when a
    // commit failed; why, and its cookies, are kept for EndDeleteBatch.
    bool CommitWriters() noexcept;
    void KeepFailure(const CBatchStore& open, const CSqliteError& error) noexcept;

    const CCookieTable& m_table;
    // Only the deleting thread uses these.
    bool m_inBatch = false;
    // Database path -> what the batch holds of it, open until the batch ends or a site fails.
    std::map<std::wstring, std::unique_ptr<CBatchStore>> m_open;
    // The cookies whose deletes did not last since the batch began, and why.
    CCookieList m_undone;
    CStoreNotices m_failures;
};
