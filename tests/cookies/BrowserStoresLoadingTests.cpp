#include "cookies/CBrowserCloser.h"
#include "cookies/CDeleteBatch.h"
#include "cookies/CWin32RestartManager.h"
#include "cookies/CookieRecorder.h"
#include "cookies/CookieManager.h"
#include "cookies/FileTime.h"
#include "res/resource.h"
#include "res/StringLoader.h"
#include "support/BrowserStandIn.h"
#include "support/BrowserStoreBuilder.h"
#include "support/CookieStoreBuilder.h"
#include "support/RecordedMessages.h"
#include "support/ThrowAwayCurrentFolder.h"
#include "sqlite/CSqliteDatabase.h"
#include "sqlite/CSqliteError.h"
#include "sqlite/CSqliteTransaction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

using BrowserStores::CRow;
using BrowserStores::Layout;

namespace {

// In microseconds since 1601 (Chromium) and since 1970 (Firefox): the same instant.
constexpr std::int64_t Chromium = 13344473600000000;
constexpr std::int64_t Firefox = 1700000000000000;
constexpr std::int64_t Hour = 3600LL * 1000 * 1000;

using Dumps = std::map<std::wstring, std::vector<std::wstring>>;

// The program's own manager over real browser databases, URL cache and registry of the prefix.
class BrowserStoresLoading : public testing::Test {
protected:
    void SetUp() override {
        CookieStore::Clear();
        BrowserStores::Clear();
        TakeRecordedMessages();
    }
    void TearDown() override {
        m_manager.reset();
        EXPECT_TRUE(m_folder.CanaryAlive());
        EXPECT_TRUE(TakeRecordedMessages().empty());
        CookieStore::Clear();
        BrowserStores::Clear();
    }

    // A site in the cache, two Chromium browsers and Firefox, beside sites of one browser each.
    void BuildStores() {
        CookieStore::AddBrowserCookie({CookieStore::BrowserCookieUrl(L"www.shared.com"),
                                       false,
                                       {},
                                       ToFileTime(Chromium * 10)});
        m_chrome = BrowserStores::AddChromiumStore(
            BrowserStores::ChromiumProfile(L"Google\\Chrome\\User Data", L"Default"),
            Layout::Current,
            {{L".shared.com", L"a", L"/", Chromium + Hour, Chromium + 3 * Hour},
             {L"chrome.org", L"a", L"/", Chromium, Chromium}});
        m_edge = BrowserStores::AddChromiumStore(
            BrowserStores::ChromiumProfile(L"Microsoft\\Edge\\User Data", L"Default"), Layout::Old,
            {{L"shared.com", L"e", L"/", Chromium - Hour, Chromium},
             {L"edge.org", L"e", L"/", Chromium, Chromium}});
        m_firefox = BrowserStores::AddFirefoxProfile(
            L"default-release", L"ab.default-release", Layout::Current,
            {{L".shared.com", L"f", L"/", Firefox, Firefox + 2 * Hour},
             {L".shared.com", L"f", L"/", Firefox, Firefox, L"^userContextId=3"},
             {L"firefox.org", L"f", L"/", Firefox, Firefox}});
    }

    Dumps DumpAll() {
        return {{m_chrome, BrowserStores::DumpTable(m_chrome, "cookies")},
                {m_edge, BrowserStores::DumpTable(m_edge, "cookies")},
                {m_firefox, BrowserStores::DumpTable(m_firefox, "moz_cookies")}};
    }

    CookieManager& Load() {
        m_manager = std::make_unique<CookieManager>();
        m_manager->PrepareSources();
        m_manager->StartLoading();
        m_manager->WaitForLoading();
        return *m_manager;
    }

    CRefPtr<CCookieDomain> Find(const std::wstring& name) {
        CDomainList domains;
        m_manager->GetDomains(domains);
        const auto found = std::find_if(domains.begin(), domains.end(),
                                        [&](const auto& each) { return each->GetName() == name; });
        return found != domains.end() ? *found : nullptr;
    }

    CThrowAwayCurrentFolder m_folder;
    std::unique_ptr<CookieManager> m_manager;
    std::wstring m_chrome;
    std::wstring m_edge;
    std::wstring m_firefox;
};

// Every row of `before` but those whose text holds `site`.
std::vector<std::wstring> Without(const std::vector<std::wstring>& before, const wchar_t* site) {
    std::vector<std::wstring> rest;
    std::copy_if(before.begin(), before.end(), std::back_inserter(rest),
                 [site](const std::wstring& row) { return row.find(site) == std::wstring::npos; });
    return rest;
}

} // namespace

TEST_F(BrowserStoresLoading, OneRowPerSiteAcrossBrowsersKeptWhenAuthorizedDeletedEverywhere) {
    BuildStores();
    Load();
    const auto shared = Find(L"shared.com");
    ASSERT_TRUE(shared);
    EXPECT_EQ(L"Chrome, Edge, Firefox, IE", shared->GetTypeText());
    EXPECT_EQ(5u, shared->GetCookieCount());
    EXPECT_EQ(static_cast<std::uint64_t>((Chromium - Hour) * 10), ToUInt64(shared->GetCreated()));
    EXPECT_EQ(static_cast<std::uint64_t>((Chromium + 3 * Hour) * 10),
              ToUInt64(shared->GetLastUsed()));
    EXPECT_EQ(L"Chrome", Find(L"chrome.org")->GetTypeText());
    EXPECT_EQ(L"Edge", Find(L"edge.org")->GetTypeText());
    EXPECT_EQ(L"Firefox", Find(L"firefox.org")->GetTypeText());
    EXPECT_TRUE(m_manager->GetNotices().empty());

    // Authorized, then the program starts again: still authorized, every cookie still there.
    const Dumps before = DumpAll();
    ASSERT_TRUE(m_manager->AuthorizeDomain(shared));
    Load();
    ASSERT_TRUE(Find(L"shared.com"));
    EXPECT_TRUE(Find(L"shared.com")->IsAuthorized());
    EXPECT_EQ(5u, Find(L"shared.com")->GetCookieCount());
    EXPECT_EQ(std::set<std::wstring>{L"shared.com"}, CookieStore::AuthorizedValues());
    EXPECT_EQ(before, DumpAll());

    EXPECT_TRUE(m_manager->DeleteDomain(Find(L"shared.com")));
    EXPECT_FALSE(Find(L"shared.com"));
    const Dumps after = DumpAll();
    for (const auto& [database, rows] : before) {
        EXPECT_EQ(Without(rows, L"shared.com"), after.at(database)) << database;
        EXPECT_EQ(1u, after.at(database).size());
    }
    EXPECT_TRUE(CookieStore::BrowserCookieUrls().empty());
    EXPECT_TRUE(CookieStore::AuthorizedValues().empty());
}

// The skipped store is watched: once its browser lets go it is read, its notice goes, and the
// load prunes then, as a complete one does.
TEST_F(BrowserStoresLoading, ALoadThatSkippedAStorePrunesOnlyOnceTheWatchHasReadIt) {
    BuildStores();
    CookieStore::AddAuthorizedValue(L"chrome.org");
    CookieStore::AddAuthorizedValue(L"nowhere.net");
    {
        CBrowserStandIn chrome(m_chrome);
        Load();
        EXPECT_FALSE(Find(L"chrome.org"));
        EXPECT_EQ((std::vector<std::wstring>{L"Chrome is open, so its cookies are not shown. "
                                             L"Close Chrome and they appear here."}),
                  NoticeTexts(m_manager->GetNotices()));
        EXPECT_TRUE(m_manager->SkippedStore());
        ::Sleep(1500);
        EXPECT_EQ((std::set<std::wstring>{L"chrome.org", L"nowhere.net"}),
                  CookieStore::AuthorizedValues());
    }
    const ULONGLONG freed = ::GetTickCount64();
    const auto pruned = [] {
        return CookieStore::AuthorizedValues() == std::set<std::wstring>{L"chrome.org"};
    };
    while (!(Find(L"chrome.org") && pruned()) && ::GetTickCount64() - freed < 5000) {
        ::Sleep(50);
    }
    ASSERT_TRUE(Find(L"chrome.org"));
    EXPECT_TRUE(Find(L"chrome.org")->IsAuthorized());
    EXPECT_EQ(L"Chrome, Edge, Firefox, IE", Find(L"shared.com")->GetTypeText());
    EXPECT_TRUE(m_manager->GetNotices().empty());
    EXPECT_FALSE(m_manager->SkippedStore());
    EXPECT_TRUE(pruned());
    Load();
    EXPECT_TRUE(Find(L"chrome.org")->IsAuthorized());
    EXPECT_EQ((std::set<std::wstring>{L"chrome.org"}), CookieStore::AuthorizedValues());
}

// Wine's Restart Manager names no program for a held file: the browser is left to the user,
// and no session stays open.
TEST_F(BrowserStoresLoading, AHeldStoreThatRestartManagerNamesNoProgramForIsLeftToTheUser) {
    BuildStores();
    CBrowserStandIn chrome(m_chrome);
    Load();
    CWin32RestartManager restart;
    CBrowserCloser closer(restart);
    const CCloseOutcome outcome = closer.Close(m_manager->GetNotices());
    EXPECT_TRUE(outcome.closed.empty());
    ASSERT_EQ(1u, outcome.unnamed.size());
    EXPECT_EQ(m_chrome, outcome.unnamed[0].database);
    EXPECT_TRUE(closer.Closed().empty());
}

TEST_F(BrowserStoresLoading, ARefusedDeleteKeepsTheSiteListed) {
    BuildStores();
    Load();
    const std::wstring lock = m_firefox.substr(0, m_firefox.rfind(L'\\')) + L"\\parent.lock";
    CBrowserStandIn firefox(lock);
    const Dumps before = DumpAll();
    EXPECT_FALSE(m_manager->DeleteDomain(Find(L"firefox.org")));
    EXPECT_EQ(1u, TakeRecordedMessages().size());
    EXPECT_TRUE(Find(L"firefox.org"));
    EXPECT_EQ(before, DumpAll());
}

TEST_F(BrowserStoresLoading, ABatchHoldsItsStoresAndItsSitesLeaveTheListWhenItEnds) {
    BuildStores();
    Load();
    const Dumps before = DumpAll();
    {
        CDeleteBatch batch(*m_manager);
        EXPECT_TRUE(m_manager->DeleteDomain(Find(L"chrome.org")));
        EXPECT_TRUE(m_manager->DeleteDomain(Find(L"firefox.org")));
        EXPECT_TRUE(Find(L"chrome.org")) << "listed until the deletes last";
        // A browser starting now could not read its cookies, deleted ones included.
        EXPECT_THROW(BrowserStores::DumpTable(m_firefox, "moz_cookies"), CSqliteError);
        EXPECT_TRUE(batch.End());
    }
    EXPECT_FALSE(Find(L"chrome.org"));
    EXPECT_FALSE(Find(L"firefox.org"));
    EXPECT_TRUE(Find(L"edge.org"));
    const Dumps after = DumpAll();
    EXPECT_EQ(Without(before.at(m_chrome), L"chrome.org"), after.at(m_chrome));
    EXPECT_EQ(before.at(m_edge), after.at(m_edge));
    EXPECT_EQ(Without(before.at(m_firefox), L"firefox.org"), after.at(m_firefox));
    EXPECT_EQ(L"ok", BrowserStores::CheckIntegrity(m_firefox));
}

// The browser ran between the load and the delete: the cookie it added since is not deleted,
// and the site comes back with it, its count and times its own.
TEST_F(BrowserStoresLoading, ACookieAddedSinceTheLoadStaysAndItsSiteComesBack) {
    BuildStores();
    Load();
    const auto listed = Find(L"chrome.org");
    ASSERT_TRUE(listed);
    BrowserStores::AddRows(
        m_chrome, {{L"www.chrome.org", L"new", L"/", Chromium + 5 * Hour, Chromium + 6 * Hour}});
    const auto added = BrowserStores::DumpTable(m_chrome, "cookies").back();
    EXPECT_TRUE(m_manager->DeleteDomain(listed));
    const auto back = Find(L"chrome.org");
    ASSERT_TRUE(back);
    EXPECT_NE(listed.Get(), back.Get());
    EXPECT_TRUE(listed->IsDeleted());
    EXPECT_EQ(1u, back->GetCookieCount());
    EXPECT_EQ(static_cast<std::uint64_t>((Chromium + 6 * Hour) * 10),
              ToUInt64(back->GetLastUsed()));
    EXPECT_EQ(static_cast<std::uint64_t>((Chromium + 5 * Hour) * 10), ToUInt64(back->GetCreated()));
    const auto rows = BrowserStores::DumpTable(m_chrome, "cookies");
    EXPECT_EQ(1u, std::count(rows.begin(), rows.end(), added));
    EXPECT_EQ(2u, rows.size()) << "shared.com's row and the new one";
}

// A store another program is writing is waited for, then left alone: the site's other stores
// are not touched before every store it needs is held.
TEST_F(BrowserStoresLoading, ABusyStoreLeavesTheWholeSiteAsItIs) {
    BuildStores();
    Load();
    const Dumps before = DumpAll();
    const auto urls = CookieStore::BrowserCookieUrls();
    {
        CSqliteDatabase writer(m_firefox, CSqliteDatabase::Mode::ReadWrite);
        CSqliteTransaction busy(writer, CSqliteTransaction::Lock::Exclusive);
        EXPECT_FALSE(m_manager->DeleteDomain(Find(L"shared.com")));
    }
    EXPECT_EQ(1u, TakeRecordedMessages().size());
    EXPECT_TRUE(Find(L"shared.com"));
    EXPECT_EQ(before, DumpAll());
    EXPECT_EQ(urls, CookieStore::BrowserCookieUrls()) << "the cache's cookie stays";
}

// A trigger planted in a store would run on our delete: the store is listed, never written,
// and the notice says why.
TEST_F(BrowserStoresLoading, AStoreWithATriggerIsListedButNeverWritten) {
    const std::wstring chrome = BrowserStores::AddChromiumStore(
        BrowserStores::ChromiumProfile(L"Google\\Chrome\\User Data", L"Default"), Layout::Current,
        {{L"a.com", L"a", L"/", Chromium, Chromium},
         {L"b.com", L"b", L"/", Chromium + 1, Chromium}});
    CSqliteDatabase(chrome, CSqliteDatabase::Mode::ReadWrite)
        .Execute("CREATE TRIGGER planted AFTER DELETE ON cookies BEGIN INSERT INTO meta "
                 "VALUES ('planted', old.host_key); END");
    const auto cookies = BrowserStores::DumpTable(chrome, "cookies");
    const auto meta = BrowserStores::DumpTable(chrome, "meta");
    Load();
    EXPECT_EQ(
        (std::vector<std::wstring>{FormatString(LoadExpandedString(IDS_STORE_HAS_TRIGGER).c_str(),
                                                L"Google Chrome", L"Default")}),
        NoticeTexts(m_manager->GetNotices()));
    ASSERT_TRUE(Find(L"a.com"));
    {
        CDeleteBatch batch(*m_manager);
        EXPECT_FALSE(m_manager->DeleteDomain(Find(L"a.com")));
    }
    EXPECT_EQ(1u, TakeRecordedMessages().size());
    EXPECT_TRUE(Find(L"a.com"));
    EXPECT_EQ(cookies, BrowserStores::DumpTable(chrome, "cookies"));
    EXPECT_EQ(meta, BrowserStores::DumpTable(chrome, "meta"));
}

// A delete killed half-way leaves every database whole, with the site's rows all there or
// all gone.
TEST_F(BrowserStoresLoading, AKilledDeleteLeavesEveryStoreWhole) {
    std::vector<CRow> chromium;
    std::vector<CRow> firefox;
    for (int i = 0; i < 40000; ++i) {
        const std::wstring name = L"n" + std::to_wstring(i);
        chromium.push_back({L"big.com", name, L"/", Chromium + i, Chromium});
        firefox.push_back({L"big.com", name, L"/", Firefox + i, Firefox});
    }
    chromium.push_back({L"other.com", L"o", L"/", Chromium - 1, Chromium});
    firefox.push_back({L"other.com", L"o", L"/", Firefox - 1, Firefox});
    const std::wstring stores[] = {
        BrowserStores::AddChromiumStore(
            BrowserStores::ChromiumProfile(L"Google\\Chrome\\User Data", L"Default"),
            Layout::Current, chromium),
        BrowserStores::AddFirefoxProfile(L"default", L"cd.default", Layout::Current, firefox)};
    const std::wstring journals[] = {stores[0] + L"-journal", stores[1] + L"-wal"};

    for (int store = 0; store < 2; ++store) {
        const std::string table = store == 0 ? "cookies" : "moz_cookies";
        const auto before = BrowserStores::DumpTable(stores[store], table);
        const auto journalSize = [&] {
            WIN32_FILE_ATTRIBUTE_DATA data{};
            return ::GetFileAttributesExW(journals[store].c_str(), GetFileExInfoStandard, &data)
                       ? data.nFileSizeLow
                       : 0;
        };
        const DWORD quiet = journalSize();
        const std::wstring ready = L"TollgateKilledDelete" + std::to_wstring(store);
        CKernelHandle started(::CreateEventW(nullptr, TRUE, FALSE, ready.c_str()));
        const auto run = StartDeleting(stores[store], L"big.com", ready);
        ASSERT_EQ(WAIT_OBJECT_0, ::WaitForSingleObject(started.Get(), 60000));
        // Once the journal grows, the transaction is under way.
        WaitUntil([&] { return journalSize() > quiet || run->HasExited(); }, 20000);
        ::TerminateProcess(run->Process(), 9);
        run->WaitForExit();

        EXPECT_EQ(L"ok", BrowserStores::CheckIntegrity(stores[store]));
        const auto after = BrowserStores::DumpTable(stores[store], table);
        EXPECT_TRUE(after == before || after == Without(before, L"big.com"))
            << "rows left of the site: " << after.size() - 1;
    }
}
