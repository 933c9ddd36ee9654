#include "BrowserStoresBench.h"

#include "cookies/CDeleteBatch.h"
#include "cookies/CookieManager.h"
#include "cookies/FileTime.h"
#include "sqlite/CSqliteDatabase.h"
#include "support/BrowserStoreBuilder.h"
#include "ui/NoticeText.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using BrowserStores::CRow;
using BrowserStores::Layout;

// The same instant in each browser's microseconds, and where each one counts from.
constexpr std::int64_t Chromium = 13344473600000000;
constexpr std::int64_t Firefox = 1700000000000000;
constexpr std::int64_t FirefoxEpoch = 11644473600000000;

std::wstring Site(int index) {
    return L"shop" + std::to_wstring(index) + L".com";
}

std::vector<CRow> Rows(int count, int first, int sites, std::int64_t base, std::int64_t epoch,
                       const CBrowserStoresBench::CSiteTime& lastUsed) {
    std::vector<CRow> rows;
    for (int i = first; i < first + count; ++i) {
        const int site = i % sites;
        const std::wstring host = (i % 3 == 0 ? L"." : L"www.") + Site(site);
        const std::int64_t used =
            lastUsed ? static_cast<std::int64_t>(ToUInt64(lastUsed(site)) / 10) - epoch
                     : base + 2 * i;
        rows.push_back({host, L"c" + std::to_wstring(i), L"/", base + i, used});
    }
    return rows;
}

} // namespace

void CBrowserStoresBench::Build(double scale, const CSiteTime& lastUsed) {
    const auto scaled = [scale](int count) { return std::max(1, static_cast<int>(count * scale)); };
    m_sites = scaled(m_sites);
    m_chromiumCookies = scaled(m_chromiumCookies);
    m_firefoxCookies = scaled(m_firefoxCookies);
    m_deletedSites = std::min(scaled(m_deletedSites), m_sites);
    BrowserStores::Clear();
    const int half = m_chromiumCookies / 2;
    m_chromium = {BrowserStores::AddChromiumStore(
                      BrowserStores::ChromiumProfile(L"Google\\Chrome\\User Data", L"Default"),
                      Layout::Current, Rows(half, 0, m_sites, Chromium, 0, lastUsed)),
                  BrowserStores::AddChromiumStore(
                      BrowserStores::ChromiumProfile(L"Microsoft\\Edge\\User Data", L"Default"),
                      Layout::Current,
                      Rows(m_chromiumCookies - half, half, m_sites, Chromium, 0, lastUsed))};
    m_firefox = BrowserStores::AddFirefoxProfile(
        L"default-release", L"bench.default-release", Layout::Current,
        Rows(m_firefoxCookies, 0, m_sites, Firefox, FirefoxEpoch, lastUsed));
}

std::size_t CBrowserStoresBench::Read() const {
    std::size_t rows = 0;
    // The sources' own queries, every column read as they read it.
    const auto read = [&rows](const std::wstring& database, const std::wstring& table,
                              const std::string& query) {
        CSqliteDatabase db(database, CSqliteDatabase::Mode::ReadOnly);
        db.GetColumns(table);
        CSqliteStatement statement = db.Prepare(query);
        while (statement.Step()) {
            statement.GetInt64(0);
            for (int text : {1, 2, 3, 6}) {
                statement.GetText(text);
            }
            statement.GetInt64(4);
            statement.GetInt64(5);
            ++rows;
        }
    };
    for (const std::wstring& database : m_chromium) {
        read(database, L"cookies",
             "SELECT rowid, host_key, name, path, creation_utc, last_access_utc, "
             "top_frame_site_key FROM cookies");
    }
    read(m_firefox, L"moz_cookies",
         "SELECT id, host, name, path, creationTime, lastAccessed, "
         "originAttributes FROM moz_cookies");
    return rows;
}

void CBrowserStoresBench::Measure() const {
    CookieManager manager;
    manager.PrepareSources();
    manager.StartLoading();
    manager.WaitForLoading();
    CDomainList domains;
    manager.GetDomains(domains);
    const std::uint32_t browsers =
        KindBit(CookieKind::Chrome) | KindBit(CookieKind::Edge) | KindBit(CookieKind::Firefox);
    std::size_t shown = 0;
    std::vector<CRefPtr<CCookieDomain>> doomed;
    for (const auto& domain : domains) {
        CCookieList cookies;
        domain->GetCookies(cookies);
        shown += static_cast<std::size_t>(
            std::count_if(cookies.begin(), cookies.end(), [browsers](const auto& cookie) {
                return (KindBit(cookie->GetKind()) & browsers) != 0;
            }));
        if ((domain->GetKinds() & browsers) == browsers &&
            static_cast<int>(doomed.size()) < m_deletedSites) {
            doomed.push_back(domain);
        }
    }
    std::printf("browser-cookies-shown %zu of %d\n", shown, m_chromiumCookies + m_firefoxCookies);
    for (const auto& notice : manager.GetNotices()) {
        std::printf("notice: %ls\n", NoticeText(notice).c_str());
    }

    // Whole seconds matter here: the tick count is fine enough.
    const ULONGLONG start = ::GetTickCount64();
    std::size_t deleted = 0;
    {
        // As the page's Delete does it: the sites count once the batch has made them last.
        CDeleteBatch batch(manager);
        for (const auto& domain : doomed) {
            deleted += manager.DeleteDomain(domain) ? 1 : 0;
        }
        if (!batch.End()) {
            deleted = 0;
        }
    }
    std::printf("  deleted %zu of %zu sites in all three stores\n", deleted, doomed.size());
    std::printf("delete-seconds %.2f\n", static_cast<double>(::GetTickCount64() - start) / 1000);
}

void CBrowserStoresBench::Clear() {
    BrowserStores::Clear();
}
