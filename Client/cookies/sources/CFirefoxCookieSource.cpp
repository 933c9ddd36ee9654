#include "cookies/sources/CFirefoxCookieSource.h"

#include "cookies/sources/CWin32BrowserProfiles.h"

#include <algorithm>
#include <cwctype>
#include <set>

namespace {

// From 1601-01-01 to 1970-01-01, in microseconds.
constexpr std::int64_t UnixEpoch = 11644473600LL * 1000 * 1000;

// Times are microseconds since 1970, the expiry seconds and, from schema 16 on, milliseconds;
// the origin attributes tell the containers apart.
constexpr CCookieTable FirefoxTable = {
    "moz_cookies",
    "id",
    "host",
    "creationTime",
    "lastAccessed",
    "originAttributes",
    true,
    UnixEpoch,
    "expiry",
    1000 * 1000,
    16,
    1000,
};

bool IsProfileSection(const std::wstring& section) {
    return section.size() > 7 && _wcsnicmp(section.c_str(), L"Profile", 7) == 0;
}

std::wstring Lower(std::wstring text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](wchar_t each) { return static_cast<wchar_t>(std::towlower(each)); });
    return text;
}

} // namespace

CRefPtr<CCookieSource> CFirefoxCookieSource::Create() {
    return Create(std::make_shared<CWin32BrowserProfiles>());
}

CRefPtr<CCookieSource> CFirefoxCookieSource::Create(std::shared_ptr<CBrowserProfiles> profiles) {
    return CRefPtr<CCookieSource>(new CFirefoxCookieSource(std::move(profiles)));
}

CFirefoxCookieSource::CFirefoxCookieSource(std::shared_ptr<CBrowserProfiles> profiles)
    : CDatabaseCookieSource(CookieKind::Firefox, std::move(profiles), FirefoxTable) {}

std::vector<CBrowserStore> CFirefoxCookieSource::FindStores(CCookieSink&) {
    std::vector<CBrowserStore> stores;
    const std::wstring root = m_appData + L"\\Mozilla\\Firefox";
    const std::wstring ini = root + L"\\profiles.ini";
    if (!m_profiles->IsFile(ini)) {
        return stores;
    }
    std::set<std::wstring> seen;
    for (const std::wstring& section : m_profiles->GetIniSections(ini)) {
        std::wstring path = m_profiles->GetIniString(ini, section, L"Path");
        if (!IsProfileSection(section) || path.empty()) {
            continue;
        }
        std::replace(path.begin(), path.end(), L'/', L'\\');
        const std::wstring folder = m_profiles->GetIniString(ini, section, L"IsRelative") == L"1"
                                        ? root + L'\\' + path
                                        : path;
        const std::wstring database = folder + L"\\cookies.sqlite";
        // Two sections naming one folder would list its cookies twice.
        if (!m_profiles->IsFile(database) || !seen.insert(Lower(database)).second) {
            continue;
        }
        std::wstring name = m_profiles->GetIniString(ini, section, L"Name");
        // A running Firefox holds "parent.lock", yet its database may still be read.
        stores.push_back({L"Mozilla Firefox", name.empty() ? path : std::move(name), database,
                          folder + L"\\parent.lock", true});
    }
    return stores;
}
