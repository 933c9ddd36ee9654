#include "cookies/sources/CDatabaseCookieSource.h"

#include "cookies/DomainKey.h"
#include "cookies/sources/CStoreWriter.h"
#include "res/resource.h"
#include "sqlite/CSqliteDatabase.h"
#include "sqlite/CSqliteError.h"
#include "ui/ShowMessage.h"
#include "res/StringLoader.h"

#include <algorithm>
#include <iterator>
#include <limits>

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

// The browser holds the file and shares it with nobody.
bool IsSharingViolation(const CSqliteError& error) {
    return error.GetSystemError() == ERROR_SHARING_VIOLATION;
}

} // namespace

struct CDatabaseCookieSource::CBatchStore {
    CBatchStore(const std::shared_ptr<const CBrowserStore>& store, const CCookieTable& table,
                CookieKind kind)
        : writer(store, table, kind) {}

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
        auto store = std::make_shared<CBrowserStore>(std::move(found));
        const bool held = m_profiles->IsHeld(store->lockFile);
        if (held && !store->readableWhileOpen) {
            sink.SkipStore(OpenText(*store, IDS_BROWSER_OPEN));
            continue;
        }
        CCookieList cookies;
        bool triggers = false;
        try {
            if (!ReadStore(store, cookies, triggers)) {
                sink.SkipStore(
                    UnreadableText(*store, LoadExpandedString(IDS_STORE_UNKNOWN_LAYOUT)));
                continue;
            }
        } catch (const CSqliteError& e) {
            sink.SkipStore(held || IsSharingViolation(e) ? OpenText(*store, IDS_BROWSER_OPEN)
                                                         : UnreadableText(*store, e.GetText()));
            continue;
        }
        if (triggers) {
            sink.AddNotice(OpenText(*store, IDS_STORE_HAS_TRIGGER));
        }
        for (const CRefPtr<CCookie>& cookie : cookies) {
            sink.AddCookie(cookie);
        }
    }
}

bool CDatabaseCookieSource::ReadStore(const std::shared_ptr<CBrowserStore>& store,
                                      CCookieList& cookies, bool& triggers) {
    CSqliteDatabase db(store->database, CSqliteDatabase::Mode::ReadOnly);
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
    while (rows.Step()) {
        highest = std::max(highest, rows.GetInt64(0));
        read.push_back(CookieFromRow(rows, m_table, kind, store));
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
    const std::wstring location = OpenText(store, IDS_BROWSER_PROFILE);
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

void CDatabaseCookieSource::BeginDeleteBatch() {
    m_inBatch = true;
    m_undone.clear();
}

bool CDatabaseCookieSource::EndDeleteBatch(CCookieList& undone) noexcept {
    const bool committed = CommitWriters() && m_undone.empty();
    m_inBatch = false;
    undone.swap(m_undone);
    m_undone.clear();
    return committed;
}

bool CDatabaseCookieSource::PrepareDelete(const CCookieList& cookies, CDeleteOutcome& outcome) {
    if (!m_inBatch) {
        return true;
    }
    for (const auto& [first, own] : ByStore(cookies)) {
        // A store the browser holds is refused by the delete itself, in its turn.
        if (!RefusalOf(first->GetStore()).empty()) {
            continue;
        }
        try {
            OpenStore(*first);
        } catch (const CSqliteError& e) {
            return Refuse(IsSharingViolation(e)
                              ? OpenText(first->GetStore(), IDS_BROWSER_OPEN_DELETING)
                              : e.GetText(),
                          outcome);
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
        return EndDeleteBatch(undone) && deleted;
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

std::wstring CDatabaseCookieSource::RefusalOf(const CBrowserStore& store) {
    // A running browser keeps its cookies in memory and would write the deleted ones back.
    if (m_profiles->IsHeld(store.lockFile)) {
        return OpenText(store, IDS_BROWSER_OPEN_DELETING);
    }
    return std::wstring();
}

bool CDatabaseCookieSource::DeleteRows(const std::vector<CDatabaseCookie*>& cookies,
                                       CDeleteOutcome& outcome) {
    CDatabaseCookie& first = *cookies.front();
    std::wstring reason = RefusalOf(first.GetStore());
    if (!reason.empty()) {
        return Refuse(reason, outcome);
    }
    try {
        CBatchStore& open = OpenStore(first);
        if (open.writer.HasTriggers()) {
            return Refuse(OpenText(first.GetStore(), IDS_STORE_HAS_TRIGGER), outcome);
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
        reason = IsSharingViolation(e) ? OpenText(first.GetStore(), IDS_BROWSER_OPEN_DELETING)
                                       : e.GetText();
    }
    return Refuse(reason, outcome);
}

bool CDatabaseCookieSource::Refuse(const std::wstring& reason, CDeleteOutcome& outcome) {
    // What the batch deleted before stays deleted (its lock kept any browser that started
    // meanwhile from reading those rows), and every store is let go before the user is told:
    // whatever tries next opens them afresh.
    CommitWriters();
    outcome.reason = reason;
    ShowMessage(FailureText(IDS_FAILED_DELETING_COOKIE, reason), MB_ICONWARNING | MB_OK);
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
            ShowCommitFailure(e.GetText());
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

void CDatabaseCookieSource::ShowCommitFailure(const std::wstring& reason) noexcept {
    try {
        ShowMessage(FailureText(IDS_FAILED_DELETING_COOKIE, reason), MB_ICONWARNING | MB_OK);
    } catch (...) {
        // Out of memory for the message: the caller still hears of the failure.
    }
}
