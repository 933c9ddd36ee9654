// Fills the current Wine prefix with a realistic cookie store for trying Tollgate out: a few
// hundred browser-cache, Flash, Chrome, Edge and Firefox cookies over some dozens of sites, of
// ages from minutes to years, most expiring days to a year ahead and some at the end of the
// session, a few sites already authorized. Replaces whatever store was there.
// Prints what it made.
#include "cookies/DomainKey.h"
#include "store/Exceptions.h"
#include "sqlite/CSqliteError.h"
#include "support/BrowserStoreBuilder.h"
#include "support/CookieStoreBuilder.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct CSite {
    const wchar_t* host;
    int browserCookies;
    bool flash;
    bool authorized;
};

// Hosts as browsers meet them: sub-domains, country domains, ad and analytics servers.
const CSite Sites[] = {
    {L"www.dailyherald-news.com", 14, false, true},
    {L"mail.webpost.net", 6, false, true},
    {L"www.shopfair.com", 11, true, false},
    {L"ads.clickbeacon.net", 18, false, false},
    {L"stats.tracklytics.com", 15, false, false},
    {L"www.videostream.tv", 9, true, false},
    {L"forum.gardeners-corner.org", 4, false, false},
    {L"www.citybank-online.com", 5, false, true},
    {L"search.findit.com", 8, false, false},
    {L"www.travelhub.co.uk", 7, false, false},
    {L"cdn.adnexus-media.com", 12, true, false},
    {L"www.weathernow.com", 6, false, false},
    {L"games.arcadeplanet.com", 5, true, false},
    {L"www.recipebox.net", 4, false, false},
    {L"www.sportsdesk.com", 10, false, false},
    {L"pixel.socialshare.com", 13, false, false},
    {L"www.bookcorner.com", 3, false, false},
    {L"www.autotrader-market.com", 6, false, false},
    {L"secure.paygate.com", 2, false, true},
    {L"www.techreview.io", 7, false, false},
    {L"radio.musicbox.fm", 4, true, false},
    {L"www.homeandgarden.com", 5, false, false},
    {L"www.jobfinder.net", 6, false, false},
    {L"metrics.pagecounter.com", 9, false, false},
    {L"www.moviebase.com", 8, true, false},
    {L"www.localpaper.de", 3, false, false},
    {L"tags.admarket.net", 11, false, false},
    {L"www.photoshare.com", 5, false, false},
    {L"www.cheapflights-now.com", 7, false, false},
    {L"shop.electronica.com", 6, false, false},
    {L"www.healthline-info.com", 4, false, false},
    {L"www.petsupply.com", 3, false, false},
    {L"beacon.audiencepoint.com", 10, false, false},
    {L"www.universitylife.edu", 2, false, false},
    {L"www.realestate-finder.com", 5, false, false},
    {L"chat.friendzone.net", 4, true, false},
    {L"www.kidsgames.com", 3, true, false},
    {L"www.stockwatch.com", 6, false, false},
};

// A fixed sequence, so every demo prefix looks the same.
class CSequence {
public:
    explicit CSequence(std::uint64_t seed) : m_state(seed) {}

    unsigned Next(unsigned bound) {
        m_state = m_state * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<unsigned>(m_state >> 33) % bound;
    }

private:
    std::uint64_t m_state;
};

constexpr std::uint64_t Minute = 60ULL * 10000000ULL;

// Ages spread like a real store's: many recent, some months and years old.
std::uint64_t PickAge(CSequence& sequence) {
    static const std::uint64_t ages[] = {
        5 * Minute,         40 * Minute,         3 * 60 * Minute,     20 * 60 * Minute,
        2 * 1440 * Minute,  5 * 1440 * Minute,   12 * 1440 * Minute,  30 * 1440 * Minute,
        75 * 1440 * Minute, 200 * 1440 * Minute, 400 * 1440 * Minute, 900 * 1440 * Minute,
    };
    const std::uint64_t base = ages[sequence.Next(std::size(ages))];
    return base + sequence.Next(static_cast<unsigned>(base / Minute / 4 + 1)) * Minute;
}

// From now, `offset` ahead (positive) or back.
FILETIME FromNow(std::int64_t offset) {
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER value;
    value.LowPart = now.dwLowDateTime;
    value.HighPart = now.dwHighDateTime;
    value.QuadPart += static_cast<std::uint64_t>(offset);
    return {value.LowPart, value.HighPart};
}

FILETIME Ago(std::uint64_t age) {
    return FromNow(-static_cast<std::int64_t>(age));
}

// Expiries as sites set them: a day to a year ahead, and one in six at the end of the
// session (0).
FILETIME PickExpiry(CSequence& sequence) {
    static const std::uint64_t days[] = {1, 3, 7, 14, 30, 90, 180, 365};
    if (sequence.Next(6) == 0) {
        return FILETIME{};
    }
    const std::uint64_t ahead = days[sequence.Next(std::size(days))] * 1440 * Minute;
    return FromNow(static_cast<std::int64_t>(ahead + sequence.Next(1440) * Minute));
}

const wchar_t* const Paths[] = {L"/", L"/news/", L"/account/", L"/search/", L"/media/"};
const wchar_t* const Users[] = {L"user", L"demo"};

// Microseconds since 1601 (Chromium) or since 1970 (Firefox) of a FILETIME.
std::int64_t Microseconds(FILETIME time, bool unixEpoch) {
    const std::uint64_t ticks =
        (static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
    return static_cast<std::int64_t>(ticks / 10) - (unixEpoch ? 11644473600000000LL : 0);
}

// An expiry in a Chromium table (microseconds since 1601) or a Firefox one (milliseconds since
// 1970); 0 for the end of the session in both.
std::int64_t StoredExpiry(FILETIME expiry, bool firefox) {
    if (expiry.dwLowDateTime == 0 && expiry.dwHighDateTime == 0) {
        return 0;
    }
    return firefox ? Microseconds(expiry, true) / 1000 : Microseconds(expiry, false);
}

// The demo's hosts and paths are ASCII.
std::string Ascii(const std::wstring& text) {
    std::string ascii;
    for (wchar_t c : text) {
        ascii += static_cast<char>(c);
    }
    return ascii;
}

// A browser's row with its expiry, in the table's own units.
BrowserStores::CRow Row(const std::wstring& host, const std::wstring& name, FILETIME created,
                        FILETIME used, FILETIME expiry, bool firefox) {
    BrowserStores::CRow row{host, name, L"/", Microseconds(created, firefox),
                            Microseconds(used, firefox)};
    row.expires = StoredExpiry(expiry, firefox);
    return row;
}

// A Chrome, an Edge and a Firefox profile over most of the same sites: several browsers'
// cookies share one row. Returns how many cookies it wrote.
int SeedBrowsers(CSequence& sequence, CSequence& expiries) {
    std::vector<BrowserStores::CRow> chrome;
    std::vector<BrowserStores::CRow> edge;
    std::vector<BrowserStores::CRow> firefox;
    int index = 0;
    for (const CSite& site : Sites) {
        const std::wstring host = site.host;
        const std::wstring domain = L"." + DomainKeyFromHost(host);
        for (int i = 0; i < site.browserCookies; ++i) {
            const std::uint64_t age = PickAge(sequence);
            const FILETIME created = Ago(age);
            const FILETIME used = Ago(age / (1 + sequence.Next(8)));
            const std::wstring name = L"c" + std::to_wstring(i);
            const std::wstring& where = i % 2 == 0 ? host : domain;
            const FILETIME expiry = PickExpiry(expiries);
            if (index % 2 == 0) {
                chrome.push_back(Row(where, name, created, used, expiry, false));
            }
            if (index % 3 == 0 && i < 4) {
                edge.push_back(Row(where, name, created, used, expiry, false));
            }
            if (index % 2 == 1 || index % 5 == 0) {
                firefox.push_back(Row(where, name, created, used, expiry, true));
            }
        }
        ++index;
    }
    BrowserStores::Clear();
    BrowserStores::AddChromiumStore(
        BrowserStores::ChromiumProfile(L"Google\\Chrome\\User Data", L"Default"),
        BrowserStores::Layout::Current, chrome);
    BrowserStores::AddChromiumStore(
        BrowserStores::ChromiumProfile(L"Microsoft\\Edge\\User Data", L"Default"),
        BrowserStores::Layout::Current, edge);
    BrowserStores::AddFirefoxProfile(L"default-release", L"k2m9q4xz.default-release",
                                     BrowserStores::Layout::Current, firefox);
    return static_cast<int>(chrome.size() + edge.size() + firefox.size());
}

} // namespace

int wmain() {
    try {
        CookieStore::Clear();
        CSequence sequence(20260101);
        // Expiries have a sequence of their own: the other times stay what they were.
        CSequence expiries(20261201);
        int browser = 0;
        int flash = 0;
        int authorized = 0;
        for (const CSite& site : Sites) {
            for (int i = 0; i < site.browserCookies; ++i) {
                CookieStore::CBrowserCookie cookie;
                // Each cookie needs an entry name of its own: vary path and user, then number it.
                const std::wstring path = std::wstring(Paths[i % std::size(Paths)]) +
                                          (i >= 5 ? L"c" + std::to_wstring(i) + L"/" : L"");
                cookie.url = CookieStore::BrowserCookieUrl(site.host, path, Users[i % 2]);
                const std::uint64_t created = PickAge(sequence);
                cookie.fileTime = Ago(created);
                cookie.lastAccess = Ago(created / (1 + sequence.Next(8)));
                CookieStore::AddBrowserCookie(
                    cookie, CookieStore::CookieFileRecord("id" + std::to_string(i), "demo",
                                                          Ascii(site.host + path),
                                                          PickExpiry(expiries), cookie.fileTime));
                ++browser;
            }
            if (site.flash) {
                const int files = 1 + static_cast<int>(sequence.Next(4));
                for (int i = 0; i < files; ++i) {
                    CookieStore::AddFlashFile(std::wstring(L"K7Q2XW9M\\") + site.host +
                                                  L"\\player\\settings" + std::to_wstring(i) +
                                                  L".sol",
                                              Ago(PickAge(sequence)));
                    ++flash;
                }
            }
            if (site.authorized) {
                CookieStore::AddAuthorizedValue(DomainKeyFromHost(site.host));
                ++authorized;
            }
        }
        const int browsers = SeedBrowsers(sequence, expiries);
        std::wprintf(L"seeded %d browser cookies, %d Flash cookies and %d Chrome, Edge and "
                     L"Firefox cookies over %d sites, %d authorized\n",
                     browser, flash, browsers, static_cast<int>(std::size(Sites)), authorized);
        return 0;
    } catch (const CException& e) {
        std::fwprintf(stderr, L"seed: %ls\n", e.GetText().c_str());
        return 1;
    } catch (const CSqliteError& e) {
        std::fwprintf(stderr, L"seed: %ls\n", e.GetText().c_str());
        return 1;
    }
}
