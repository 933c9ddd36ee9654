#include "cookies/sources/CDatabaseCookieSource.h"

#include "cookies/FileTime.h"
#include "res/resource.h"
#include "sqlite/CSqliteDatabase.h"
#include "sqlite/CSqliteError.h"
#include "sqlite/CSqliteSavepoint.h"
#include "sqlite/CSqliteTransaction.h"
#include "ui/ShowMessage.h"
#include "ui/StringLoader.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>
#include <iterator>
#include <limits>
#include <optional>

namespace {

std::wstring OpenText(const CBrowserStore& store, UINT format) {
    return FormatString(LoadExpandedString(format).c_str(), store.browser.c_str(),
                        store.profile.c_str());
}

std::wstring UnreadableText(const CBrowserStore& store, const std::wstring& reason,
                            UINT format = IDS_STORE_UNREADABLE) {
    return FormatString(LoadExpandedString(format).c_str(), store.browser.c_str(),
                        store.profile.c_str(), reason.c_str());
}

// Table and column names are plain ASCII.
std::wstring Wide(const char* name) {
    return std::wstring(name, name + std::strlen(name));
}

bool Has(const std::vector<std::wstring>& columns, const char* name) {
    return std::find(columns.begin(), columns.end(), Wide(name)) != columns.end();
}

bool HasAll(const std::vector<std::wstring>& columns, std::initializer_list<const char*> names) {
    return std::all_of(names.begin(), names.end(),
                       [&columns](const char* name) { return Has(columns, name); });
}

// The browser holds the file and shares it with nobody.
bool IsSharingViolation(const CSqliteError& error) {
    return error.GetSystemError() == ERROR_SHARING_VIOLATION;
}

} // namespace

FILETIME FileTimeFromMicroseconds(std::int64_t microseconds, std::int64_t epoch) {
    if (microseconds <= 0) {
        return FILETIME{};
    }
    const std::uint64_t since1601 =
        static_cast<std::uint64_t>(microseconds) + static_cast<std::uint64_t>(epoch);
    if (since1601 > std::numeric_limits<std::uint64_t>::max() / 10) {
        return FILETIME{};
    }
    return ToFileTime(since1601 * 10);
}

CDatabaseCookieSource::CDatabaseCookieSource(CookieKind kind,
                                             std::shared_ptr<CBrowserProfiles> profiles,
                                             const CCookieTable& table)
    : CCookieSource(kind), m_profiles(std::move(profiles)), m_table(table) {}

void CDatabaseCookieSource::Prepare() {
    m_localAppData = m_profiles->GetLocalAppDataFolder();
    m_appData = m_profiles->GetAppDataFolder();
}

void CDatabaseCookieSource::Enumerate(CCookieSink& sink) {
    for (CBrowserStore& found : FindStores(sink)) {
        const auto store = std::make_shared<const CBrowserStore>(std::move(found));
        const bool held = m_profiles->IsHeld(store->lockFile);
        if (held && !store->readableWhileOpen) {
            sink.SkipStore(OpenText(*store, IDS_BROWSER_OPEN));
            continue;
        }
        try {
            if (!ReadStore(store, sink)) {
                sink.SkipStore(
                    UnreadableText(*store, LoadExpandedString(IDS_STORE_UNKNOWN_LAYOUT)));
            }
        } catch (const CSqliteError& e) {
            sink.SkipStore(held || IsSharingViolation(e) ? OpenText(*store, IDS_BROWSER_OPEN)
                                                         : UnreadableText(*store, e.GetText()));
        }
    }
}

bool CDatabaseCookieSource::ReadStore(const std::shared_ptr<const CBrowserStore>& store,
                                      CCookieSink& sink) {
    CSqliteDatabase db(store->database, CSqliteDatabase::Mode::ReadOnly);
    const std::vector<std::wstring> columns = db.GetColumns(Wide(m_table.table));
    const bool keyed = std::string(m_table.key) == "rowid" || Has(columns, m_table.key);
    if (!keyed || !Has(columns, m_table.host) || !Has(columns, "name") || !Has(columns, "path") ||
        !Has(columns, m_table.created) || !Has(columns, m_table.lastUsed) ||
        (m_table.partitionRequired && !Has(columns, m_table.partition))) {
        return false;
    }
    const std::string partition = Has(columns, m_table.partition) ? m_table.partition : "''";
    CSqliteStatement rows = db.Prepare(
        std::string("SELECT ") + m_table.key + ", " + m_table.host + ", name, path, " +
        m_table.created + ", " + m_table.lastUsed + ", " + partition + " FROM " + m_table.table);
    const CookieKind kind = GetKind();
    while (rows.Step()) {
        CRowIdentity row;
        row.key = rows.GetInt64(0);
        row.host = rows.GetText(1);
        row.name = rows.GetText(2);
        row.path = rows.GetText(3);
        row.created = rows.GetInt64(4);
        row.partition = rows.GetText(6);
        // A leading dot marks a domain cookie; it is no part of the host's name.
        std::wstring host = row.host;
        if (!host.empty() && host.front() == L'.') {
            host.erase(0, 1);
        }
        sink.AddCookie(CDatabaseCookie::Create(
            kind, store, std::move(host), FileTimeFromMicroseconds(row.created, m_table.epoch),
            FileTimeFromMicroseconds(rows.GetInt64(5), m_table.epoch), std::move(row)));
    }
    return true;
}

void CDatabaseCookieSource::DescribeCookies(const CCookieList& cookies,
                                            CCookieDescriptions& descriptions) {
    // Each store's cookies, stores in the order their first cookie came.
    std::vector<std::pair<const CBrowserStore*, std::vector<CDatabaseCookie*>>> stores;
    for (const CRefPtr<CCookie>& cookie : cookies) {
        // The manager hands this source only the cookies it found.
        auto& found = static_cast<CDatabaseCookie&>(*cookie);
        const auto same = std::find_if(stores.begin(), stores.end(), [&found](const auto& each) {
            return each.first->database == found.GetStore().database;
        });
        if (same != stores.end()) {
            same->second.push_back(&found);
        } else {
            stores.push_back({&found.GetStore(), {&found}});
        }
    }
    for (const auto& [store, own] : stores) {
        DescribeStore(*store, own, descriptions);
    }
}

void CDatabaseCookieSource::DescribeStore(const CBrowserStore& store,
                                          const std::vector<CDatabaseCookie*>& cookies,
                                          CCookieDescriptions& descriptions) {
    std::wstring problem;
    const bool held = m_profiles->IsHeld(store.lockFile);
    if (held && !store.readableWhileOpen) {
        problem = OpenText(store, IDS_DETAILS_BROWSER_OPEN);
    } else {
        try {
            // Nothing of a store that fails half-way is listed twice.
            CCookieDescriptions read;
            if (ReadDescriptions(store, cookies, read)) {
                descriptions.insert(descriptions.end(), std::make_move_iterator(read.begin()),
                                    std::make_move_iterator(read.end()));
                return;
            }
            problem = UnreadableText(store, LoadExpandedString(IDS_STORE_UNKNOWN_LAYOUT),
                                     IDS_DETAILS_UNREADABLE);
        } catch (const CSqliteError& e) {
            problem = held || IsSharingViolation(e)
                          ? OpenText(store, IDS_DETAILS_BROWSER_OPEN)
                          : UnreadableText(store, e.GetText(), IDS_DETAILS_UNREADABLE);
        }
    }
    for (CDatabaseCookie* cookie : cookies) {
        descriptions.push_back(DescribeAsLoaded(*cookie, problem));
    }
}

bool CDatabaseCookieSource::ReadDescriptions(const CBrowserStore& store,
                                             const std::vector<CDatabaseCookie*>& cookies,
                                             CCookieDescriptions& descriptions) {
    CSqliteDatabase db(store.database, CSqliteDatabase::Mode::ReadOnly);
    const std::vector<std::wstring> columns = db.GetColumns(Wide(m_table.table));
    const bool keyed = std::string(m_table.key) == "rowid" || Has(columns, m_table.key);
    if (!keyed ||
        !HasAll(columns, {m_table.host, "name", "path", m_table.expires, m_table.lastUsed,
                          m_table.created}) ||
        (m_table.partitionRequired && !Has(columns, m_table.partition))) {
        return false;
    }
    std::int64_t expiryUnit = m_table.expiryUnit;
    if (m_table.finerExpiryVersion != 0) {
        CSqliteStatement version = db.Prepare("PRAGMA user_version");
        if (version.Step() && version.GetInt64(0) >= m_table.finerExpiryVersion) {
            expiryUnit = m_table.finerExpiryUnit;
        }
    }
    // The row the load read, and no other: one changed since has another key or creation time.
    const bool partitioned = Has(columns, m_table.partition);
    CSqliteStatement find = db.Prepare(
        std::string("SELECT name, ") + m_table.host + ", path, " + m_table.expires + ", " +
        m_table.lastUsed + ", " + m_table.created + " FROM " + m_table.table + " WHERE " +
        m_table.key + " = ?1 AND " + m_table.host + " IS ?2 AND name IS ?3 AND path IS ?4 AND " +
        m_table.created + " IS ?5" +
        (partitioned ? std::string(" AND ") + m_table.partition + " IS ?6" : std::string()));
    const std::wstring location = OpenText(store, IDS_BROWSER_PROFILE);
    for (CDatabaseCookie* cookie : cookies) {
        const CRowIdentity& row = cookie->GetRow();
        find.Bind(1, row.key);
        find.Bind(2, row.host);
        find.Bind(3, row.name);
        find.Bind(4, row.path);
        find.Bind(5, row.created);
        if (partitioned) {
            find.Bind(6, row.partition);
        }
        if (find.Step()) {
            CCookieDescription description;
            description.kind = cookie->GetKind();
            description.name = find.GetText(0);
            description.host = find.GetText(1);
            description.path = find.GetText(2);
            const std::int64_t expiry = find.GetInt64(3);
            // An expiry too large to count in microseconds is as unknown as a missing one.
            if (expiry > 0 && expiry <= std::numeric_limits<std::int64_t>::max() / expiryUnit) {
                description.expires = FileTimeFromMicroseconds(expiry * expiryUnit, m_table.epoch);
            }
            description.lastUsed = FileTimeFromMicroseconds(find.GetInt64(4), m_table.epoch);
            description.created = FileTimeFromMicroseconds(find.GetInt64(5), m_table.epoch);
            description.location = location;
            descriptions.push_back(std::move(description));
        } else {
            descriptions.push_back(DescribeAsLoaded(
                *cookie,
                FormatString(LoadExpandedString(IDS_DETAILS_GONE).c_str(), row.name.c_str(),
                             row.host.c_str(), store.browser.c_str(), store.profile.c_str())));
        }
        find.Reset();
    }
    return true;
}

CCookieDescription CDatabaseCookieSource::DescribeAsLoaded(CDatabaseCookie& cookie,
                                                           const std::wstring& problem) {
    CCookieDescription description = DescribeRecord(cookie);
    const CRowIdentity& row = cookie.GetRow();
    description.name = row.name;
    description.host = row.host;
    description.path = row.path;
    description.location = OpenText(cookie.GetStore(), IDS_BROWSER_PROFILE);
    description.problem = problem;
    return description;
}

bool CDatabaseCookieSource::DeleteCookie(const CRefPtr<CCookie>& cookie) {
    return DeleteCookies(CCookieList{cookie});
}

bool CDatabaseCookieSource::DeleteCookies(const CCookieList& cookies) {
    // The site's rows of each store, stores in the order their first cookie came.
    std::vector<std::pair<const CBrowserStore*, std::vector<const CRowIdentity*>>> stores;
    for (const CRefPtr<CCookie>& cookie : cookies) {
        // The manager hands this source only cookies of its own kind.
        const auto& found = static_cast<const CDatabaseCookie&>(*cookie);
        const auto same = std::find_if(stores.begin(), stores.end(), [&found](const auto& each) {
            return each.first->database == found.GetStore().database;
        });
        if (same != stores.end()) {
            same->second.push_back(&found.GetRow());
        } else {
            stores.push_back({&found.GetStore(), {&found.GetRow()}});
        }
    }
    for (const auto& [store, rows] : stores) {
        if (!DeleteRows(*store, rows)) {
            return false;
        }
    }
    return true;
}

void CDatabaseCookieSource::BeginDeleteBatch() {
    m_inBatch = true;
}

bool CDatabaseCookieSource::EndDeleteBatch() noexcept {
    const bool committed = CommitWriters() && !m_batchLost;
    m_inBatch = false;
    m_batchLost = false;
    return committed;
}

// A database opened for deleting rows of the cookie table, with its statement prepared. A
// batch's writer holds one transaction for all its sites, each site's rows in a savepoint of
// their own, and keeps the file locked against every other reader and writer until it ends.
class CDatabaseCookieSource::CWriter {
public:
    CWriter(const std::wstring& database, const CCookieTable& table, bool batch)
        : m_db(database, CSqliteDatabase::Mode::ReadWrite), m_remove(Prepare(table, batch)) {
        if (batch) {
            m_batch.emplace(m_db);
        }
    }

    // Deletes the rows all together or, on failure, none of them.
    void Delete(const std::vector<const CRowIdentity*>& rows) {
        if (m_batch) {
            CSqliteSavepoint site(m_db);
            Remove(rows);
            site.Release();
            return;
        }
        CSqliteTransaction transaction(m_db);
        Remove(rows);
        transaction.Commit();
    }

    // Makes a batch's deletes last; a transaction a failure has ended is only let go.
    void Commit() {
        if (m_batch && m_db.InTransaction()) {
            m_batch->Commit();
        }
        m_batch.reset();
    }

    // Whether a failure has rolled back a batch's whole transaction, earlier sites included.
    bool LostBatch() const noexcept { return m_batch && !m_db.InTransaction(); }

private:
    CSqliteStatement Prepare(const CCookieTable& table, bool batch) {
        // Set before the first read, so that a browser starting meanwhile can read nothing of
        // the store until the batch ends: it never sees rows the batch is deleting.
        if (batch) {
            m_db.Execute("PRAGMA locking_mode=EXCLUSIVE");
        }
        // The browser folds its own write-ahead log in; its journal file stays where it keeps
        // one.
        m_db.LeaveLogOnClose();
        bool logged = false;
        {
            CSqliteStatement mode = m_db.Prepare("PRAGMA journal_mode");
            logged = mode.Step() && mode.GetText(0) == L"wal";
        }
        if (!logged) {
            m_db.Execute("PRAGMA journal_mode=TRUNCATE");
        }
        m_partitioned = Has(m_db.GetColumns(Wide(table.table)), table.partition);
        const std::string partition =
            m_partitioned ? std::string(" AND ") + table.partition + " IS ?6" : "";
        return m_db.Prepare(std::string("DELETE FROM ") + table.table + " WHERE " + table.key +
                            " = ?1 AND " + table.host +
                            " IS ?2 AND name IS ?3 AND path IS ?4 AND " + table.created + " IS ?5" +
                            partition);
    }

    void Remove(const std::vector<const CRowIdentity*>& rows) {
        for (const CRowIdentity* row : rows) {
            m_remove.Bind(1, row->key);
            m_remove.Bind(2, row->host);
            m_remove.Bind(3, row->name);
            m_remove.Bind(4, row->path);
            m_remove.Bind(5, row->created);
            if (m_partitioned) {
                m_remove.Bind(6, row->partition);
            }
            m_remove.Step();
            m_remove.Reset();
        }
    }

    CSqliteDatabase m_db;
    bool m_partitioned = false;
    CSqliteStatement m_remove;
    // Last, so that it rolls back before the statement and the database go.
    std::optional<CSqliteTransaction> m_batch;
};

CDatabaseCookieSource::~CDatabaseCookieSource() = default;

CDatabaseCookieSource::CWriter& CDatabaseCookieSource::GetWriter(const CBrowserStore& store,
                                                                 std::unique_ptr<CWriter>& single) {
    if (!m_inBatch) {
        single = std::make_unique<CWriter>(store.database, m_table, false);
        return *single;
    }
    const auto kept = m_writers.find(store.database);
    if (kept != m_writers.end()) {
        return *kept->second;
    }
    return *m_writers
                .emplace(store.database, std::make_unique<CWriter>(store.database, m_table, true))
                .first->second;
}

bool CDatabaseCookieSource::IsBrowserOpen(const CBrowserStore& store) {
    // A browser that holds the database itself opens it shared with nobody, which fails while
    // a batch holds it open: checked once, when the batch opens it.
    if (store.lockFile == store.database && m_writers.count(store.database) != 0) {
        return false;
    }
    return m_profiles->IsHeld(store.lockFile);
}

bool CDatabaseCookieSource::DeleteRows(const CBrowserStore& store,
                                       const std::vector<const CRowIdentity*>& rows) {
    std::wstring reason;
    // A running browser keeps its cookies in memory and would write the deleted ones back.
    if (IsBrowserOpen(store)) {
        reason = OpenText(store, IDS_BROWSER_OPEN_DELETING);
    } else {
        try {
            std::unique_ptr<CWriter> single;
            GetWriter(store, single).Delete(rows);
            return true;
        } catch (const CSqliteError& e) {
            reason =
                IsSharingViolation(e) ? OpenText(store, IDS_BROWSER_OPEN_DELETING) : e.GetText();
        }
    }
    // What the batch deleted before stays deleted (its lock kept any browser that started
    // meanwhile from reading those rows), and every store is let go before the user is told:
    // whatever tries next opens them afresh.
    CommitWriters();
    ShowMessage(FailureText(IDS_FAILED_DELETING_COOKIE, reason), MB_ICONWARNING | MB_OK);
    return false;
}

bool CDatabaseCookieSource::CommitWriters() noexcept {
    bool committed = true;
    for (auto& [database, writer] : m_writers) {
        try {
            m_batchLost = m_batchLost || writer->LostBatch();
            writer->Commit();
        } catch (const CSqliteError& e) {
            committed = false;
            ShowCommitFailure(e.GetText());
        }
    }
    m_writers.clear();
    return committed;
}

void CDatabaseCookieSource::ShowCommitFailure(const std::wstring& reason) noexcept {
    try {
        ShowMessage(FailureText(IDS_FAILED_DELETING_COOKIE, reason), MB_ICONWARNING | MB_OK);
    } catch (...) {
        // Out of memory for the message: the caller still hears of the failure.
    }
}
