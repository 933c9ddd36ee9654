#include "cookies/sources/CDatabaseCookieSource.h"

#include "cookies/DomainKey.h"
#include "cookies/sources/CStoreWriter.h"
#include "res/StringLoader.h"
#include "res/resource.h"
#include "sqlite/CSqliteDatabase.h"
#include "sqlite/CSqliteError.h"
#include "store/Exceptions.h"

#include <algorithm>
#include <iterator>
#include <limits>

namespace {

// The browser holds the file and shares it with nobody.
bool IsSharingViolation(const CSqliteError& error) {
    return error.GetSystemError() == ERROR_SHARING_VIOLATION;
}

CStoreNotice NoticeOf(const CBrowserStore& store, CookieKind kind, CStoreProblem problem) {
    CStoreNotice notice;
    notice.problem = problem;
    notice.kind = kind;
    notice.browser = store.browser;
    notice.profile = store.profile;
    notice.database = store.database;
    notice.lockFile = store.lockFile;
    return notice;
}

// Why a read of the store failed, as SQLite told it.
CStoreNotice ReadFailure(const CBrowserStore& store, CookieKind kind, const CSqliteError& error,
                         bool held) {
    if (held || IsSharingViolation(error)) {
        return NoticeOf(store, kind, CStoreProblem::BrowserOpen);
    }
    CStoreNotice notice = NoticeOf(store, kind,
                                   error.IsNotADatabase() ? CStoreProblem::NotADatabase
                                   : error.IsDamaged()    ? CStoreProblem::Damaged
                                                          : CStoreProblem::Unreadable);
    notice.reason = error.GetText();
    return notice;
}

// Where the details say a cookie is kept: "Google Chrome (Default)".
std::wstring BrowserProfileText(const std::wstring& browser, const std::wstring& profile) {
    return FormatString(LoadExpandedString(IDS_BROWSER_PROFILE).c_str(), browser.c_str(),
                        profile.c_str());
}

} // namespace

struct CDatabaseCookieSource::CBatchStore {
    CBatchStore(const std::shared_ptr<const CBrowserStore>& opened, const CCookieTable& table,
                CookieKind kind)
        : store(opened), writer(opened, table, kind) {}

    std::shared_ptr<const CBrowserStore> store;
    CStoreWriter writer;
    CCookieList deleted;
};

CDatabaseCookieSource::CDatabaseCookieSource(CookieKind kind,
                                             std::shared_ptr<CBrowserProfiles> profiles,
                                             const CCookieTable& table)
    : CCookieSource(kind), m_profiles(std::move(profiles)), m_table(table) {}

CDatabaseCookieSource::~CDatabaseCookieSource() = default;

void CDatabaseCookieSource::Prepare() {
    m_localAppData = m_profiles->GetLocalAppDataFolder();
    m_appData = m_profiles->GetAppDataFolder();
}

void CDatabaseCookieSource::Enumerate(CCookieSink& sink) {
    for (CBrowserStore& found : FindStores(sink)) {
        EnumerateStore(std::make_shared<CBrowserStore>(std::move(found)), sink);
    }
}

CStoreNotice CDatabaseCookieSource::ProfilesUnreadable(CookieKind kind, const std::wstring& browser,
                                                       const CException& error) {
    CStoreNotice notice;
    notice.problem = CStoreProblem::ProfilesUnreadable;
    notice.kind = kind;
    notice.browser = browser;
    notice.reason = error.GetText();
    notice.skipped = true;
    return notice;
}

CStoreNotice CDatabaseCookieSource::StoreUnreadable(CookieKind kind, const std::wstring& browser,
                                                    const std::wstring& profile,
                                                    const std::wstring& database,
                                                    const CException& error) {
    CStoreNotice notice;
    notice.problem = CStoreProblem::Unreadable;
    notice.kind = kind;
    notice.browser = browser;
    notice.profile = profile;
    notice.database = database;
    notice.reason = error.GetText();
    notice.skipped = true;
    return notice;
}

bool CDatabaseCookieSource::ReadFreedStore(const CStoreNotice& held, CCookieSink& sink) {
    // The cheap look: a browser that still shares the file with nobody still runs.
    if (held.problem != CStoreProblem::BrowserOpen || held.database.empty() ||
        m_profiles->IsHeld(held.database)) {
        return false;
    }
    // Found again as FindStores finds it: readable while its browser runs, as far as the
    // browser lets anyone read it.
    EnumerateStore(std::make_shared<CBrowserStore>(CBrowserStore{
                       held.browser, held.profile, held.database, held.lockFile, true}),
                   sink);
    return true;
}

void CDatabaseCookieSource::EnumerateStore(const std::shared_ptr<CBrowserStore>& store,
                                           CCookieSink& sink) {
    const CookieKind kind = GetKind();
    const bool held = m_profiles->IsHeld(store->lockFile);
    CStoreNotice skipped;
    CCookieList cookies;
    bool triggers = false;
    if (held && !store->readableWhileOpen) {
        skipped = NoticeOf(*store, kind, CStoreProblem::BrowserOpen);
    } else {
        try {
            if (!ReadStore(store, cookies, triggers)) {
                skipped = NoticeOf(*store, kind, CStoreProblem::UnknownLayout);
            }
        } catch (const CSqliteError& e) {
            skipped = ReadFailure(*store, kind, e, held);
        }
    }
    if (skipped.problem != CStoreProblem::None) {
        skipped.skipped = true;
        sink.AddNotice(skipped);
        return;
    }
    if (triggers) {
        sink.AddNotice(NoticeOf(*store, kind, CStoreProblem::HasTrigger));
    }
    for (const CRefPtr<CCookie>& cookie : cookies) {
        sink.AddCookie(cookie);
    }
}

bool CDatabaseCookieSource::ReadStore(const std::shared_ptr<CBrowserStore>& store,
                                      CCookieList& cookies, bool& triggers) {
    CSqliteDatabase db(store->database, CSqliteDatabase::Mode::ReadOnly);
    // The load reads each page once: a page cache would only raise the program's peak memory.
    db.Execute("PRAGMA cache_size=16");
    const std::wstring table = WideName(m_table.table);
    const std::vector<std::wstring> columns = db.GetColumns(table);
    if (!HasRowColumns(m_table, columns)) {
        return false;
    }
    triggers = db.HasTriggers(table);
    CSqliteStatement rows = db.Prepare(SelectRows(m_table, IsPartitioned(m_table, columns)));
    std::int64_t highest = 0;
    const CookieKind kind = GetKind();
    CCookieList read;
    CTextPool texts;
    while (rows.Step()) {
        highest = std::max(highest, rows.GetInt64(0));
        read.push_back(CookieFromRow(rows, m_table, kind, store, texts));
    }
    // Set before any other thread can see the store through its cookies.
    store->highestKey = highest;
    cookies.swap(read);
    return true;
}

CDatabaseCookieSource::CStoreCookies CDatabaseCookieSource::ByStore(const CCookieList& cookies) {
    CStoreCookies stores;
    for (const CRefPtr<CCookie>& cookie : cookies) {
        // The manager hands this source only the cookies it found.
        auto& found = static_cast<CDatabaseCookie&>(*cookie);
        const auto same = std::find_if(stores.begin(), stores.end(), [&found](const auto& each) {
            return each.first->GetStore().database == found.GetStore().database;
        });
        if (same != stores.end()) {
            same->second.push_back(&found);
        } else {
            stores.push_back({&found, {&found}});
        }
    }
    return stores;
}

void CDatabaseCookieSource::DescribeCookies(const CCookieList& cookies,
                                            CCookieDescriptions& descriptions) {
    for (const auto& [first, own] : ByStore(cookies)) {
        DescribeStore(first->GetStore(), own, descriptions);
    }
}

void CDatabaseCookieSource::DescribeStore(const CBrowserStore& store,
                                          const std::vector<CDatabaseCookie*>& cookies,
                                          CCookieDescriptions& descriptions) {
    const CookieKind kind = GetKind();
    CStoreNotice problem;
    const bool held = m_profiles->IsHeld(store.lockFile);
    if (held && !store.readableWhileOpen) {
        problem = NoticeOf(store, kind, CStoreProblem::BrowserOpen);
    } else {
        try {
            // Nothing of a store that fails half-way is listed twice.
            CCookieDescriptions read;
            if (ReadDescriptions(store, cookies, read)) {
                descriptions.insert(descriptions.end(), std::make_move_iterator(read.begin()),
                                    std::make_move_iterator(read.end()));
                return;
            }
            problem = NoticeOf(store, kind, CStoreProblem::UnknownLayout);
        } catch (const CSqliteError& e) {
            problem = ReadFailure(store, kind, e, held);
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
    const std::vector<std::wstring> columns = db.GetColumns(WideName(m_table.table));
    if (!HasRowColumns(m_table, columns) || !HasColumn(columns, m_table.expires)) {
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
    const bool partitioned = IsPartitioned(m_table, columns);
    CSqliteStatement find =
        db.Prepare(std::string("SELECT name, ") + m_table.host + ", path, " + m_table.expires +
                   ", " + m_table.lastUsed + ", " + m_table.created + " FROM " + m_table.table +
                   WhereIdentity(m_table, partitioned));
    const std::wstring location = BrowserProfileText(store.browser, store.profile);
    for (CDatabaseCookie* cookie : cookies) {
        const CRowIdentity& row = cookie->GetRow();
        BindIdentity(find, row, partitioned);
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
            CStoreNotice gone = NoticeOf(store, GetKind(), CStoreProblem::CookieGone);
            gone.item = *row.name;
            gone.host = *row.host;
            descriptions.push_back(DescribeAsLoaded(*cookie, gone));
        }
        find.Reset();
    }
    return true;
}

CCookieDescription CDatabaseCookieSource::DescribeAsLoaded(CDatabaseCookie& cookie,
                                                           const CStoreNotice& problem) {
    CCookieDescription description = DescribeRecord(cookie);
    const CRowIdentity& row = cookie.GetRow();
    description.name = *row.name;
    description.host = *row.host;
    description.path = *row.path;
    description.location = BrowserProfileText(cookie.GetStore().browser, cookie.GetStore().profile);
    description.problem = problem;
    return description;
}

bool CDatabaseCookieSource::DeleteCookie(const CRefPtr<CCookie>& cookie) {
    return DeleteCookies(CCookieList{cookie});
}

void CDatabaseCookieSource::BeginDeleteBatch() {
    m_inBatch = true;
    m_undone.clear();
}

bool CDatabaseCookieSource::EndDeleteBatch(CCookieList& undone, CStoreNotices& failures) noexcept {
    const bool committed = CommitWriters() && m_undone.empty();
    m_inBatch = false;
    undone.swap(m_undone);
    m_undone.clear();
    failures.swap(m_failures);
    m_failures.clear();
    return committed;
}

bool CDatabaseCookieSource::PrepareDelete(const CCookieList& cookies, CDeleteOutcome& outcome) {
    if (!m_inBatch) {
        return true;
    }
    for (const auto& [first, own] : ByStore(cookies)) {
        // A store the browser holds is refused by the delete itself, in its turn.
        if (IsRefused(first->GetStore())) {
            continue;
        }
        try {
            OpenStore(*first);
        } catch (const CSqliteError& e) {
            return Refuse(WriteFailure(first->GetStore(), e), outcome);
        }
    }
    return true;
}

bool CDatabaseCookieSource::DeleteCookies(const CCookieList& cookies, CDeleteOutcome& outcome) {
    if (!m_inBatch) {
        // One site alone is a batch of one: its deletes last before the answer.
        BeginDeleteBatch();
        const bool deleted = DeleteCookies(cookies, outcome);
        CCookieList undone;
        CStoreNotices failures;
        const bool lasted = EndDeleteBatch(undone, failures);
        if (!failures.empty() && outcome.refusal.problem == CStoreProblem::None) {
            outcome.refusal = failures.front();
        }
        return lasted && deleted;
    }
    for (const auto& [first, own] : ByStore(cookies)) {
        if (!DeleteRows(own, outcome)) {
            return false;
        }
    }
    return true;
}

CDatabaseCookieSource::CBatchStore&
CDatabaseCookieSource::OpenStore(const CDatabaseCookie& cookie) {
    const std::wstring& database = cookie.GetStore().database;
    const auto kept = m_open.find(database);
    if (kept != m_open.end()) {
        return *kept->second;
    }
    auto opened = std::make_unique<CBatchStore>(cookie.GetSharedStore(), m_table, GetKind());
    return *m_open.emplace(database, std::move(opened)).first->second;
}

bool CDatabaseCookieSource::IsRefused(const CBrowserStore& store) {
    // A running browser keeps its cookies in memory and would write the deleted ones back.
    return m_profiles->IsHeld(store.lockFile);
}

CStoreNotice CDatabaseCookieSource::WriteFailure(const CBrowserStore& store,
                                                 const CSqliteError& error) {
    if (IsSharingViolation(error)) {
        return NoticeOf(store, GetKind(), CStoreProblem::BrowserOpen);
    }
    CStoreNotice notice = NoticeOf(store, GetKind(), CStoreProblem::WriteFailed);
    notice.reason = error.GetText();
    return notice;
}

bool CDatabaseCookieSource::DeleteRows(const std::vector<CDatabaseCookie*>& cookies,
                                       CDeleteOutcome& outcome) {
    CDatabaseCookie& first = *cookies.front();
    if (IsRefused(first.GetStore())) {
        return Refuse(NoticeOf(first.GetStore(), GetKind(), CStoreProblem::BrowserOpen), outcome);
    }
    try {
        CBatchStore& open = OpenStore(first);
        if (open.writer.HasTriggers()) {
            return Refuse(NoticeOf(first.GetStore(), GetKind(), CStoreProblem::HasTrigger),
                          outcome);
        }
        std::vector<const CRowIdentity*> rows;
        for (CDatabaseCookie* cookie : cookies) {
            rows.push_back(&cookie->GetRow());
        }
        open.writer.Delete(rows, DomainKeyFromHost(first.GetHost()), outcome.appeared);
        for (CDatabaseCookie* cookie : cookies) {
            open.deleted.push_back(CRefPtr<CCookie>(cookie));
            outcome.deleted.push_back(CRefPtr<CCookie>(cookie));
        }
        return true;
    } catch (const CSqliteError& e) {
        return Refuse(WriteFailure(first.GetStore(), e), outcome);
    }
}

bool CDatabaseCookieSource::Refuse(const CStoreNotice& reason, CDeleteOutcome& outcome) {
    // What the batch deleted before stays deleted (its lock kept any browser that started
    // meanwhile from reading those rows), and every store is let go before the user is told:
    // whatever tries next opens them afresh.
    CommitWriters();
    outcome.refusal = reason;
    return false;
}

bool CDatabaseCookieSource::CommitWriters() noexcept {
    bool committed = true;
    for (auto& [database, open] : m_open) {
        bool lasted = false;
        try {
            lasted = !open->writer.LostBatch();
            open->writer.Commit();
        } catch (const CSqliteError& e) {
            lasted = false;
            committed = false;
            KeepFailure(*open, e);
        }
        if (!lasted) {
            try {
                m_undone.insert(m_undone.end(), open->deleted.begin(), open->deleted.end());
            } catch (...) {
                // Out of memory for the list: the batch still says it did not last.
                committed = false;
            }
        }
    }
    m_open.clear();
    return committed;
}

void CDatabaseCookieSource::KeepFailure(const CBatchStore& open,
                                        const CSqliteError& error) noexcept {
    try {
        m_failures.push_back(WriteFailure(*open.store, error));
    } catch (...) {
        // Out of memory for the reason: the batch still says it did not last.
    }
}
