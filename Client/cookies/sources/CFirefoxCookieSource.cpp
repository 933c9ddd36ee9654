#include "cookies/sources/CFirefoxCookieSource.h"

#include "cookies/sources/CWin32BrowserProfiles.h"
#include "cookies/sources/IniFile.h"
#include "store/Exceptions.h"

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

constexpr wchar_t Browser[] = L"Mozilla Firefox";

// Firefox's list of profiles is a few hundred bytes; a file far larger is no list of its.
constexpr std::size_t LargestProfilesIni = 1024 * 1024;

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

std::vector<CBrowserStore> CFirefoxCookieSource::FindStores(CCookieSink& sink) {
    std::vector<CBrowserStore> stores;
    const std::wstring root = m_appData + L"\\Mozilla\\Firefox";
    std::vector<CIniSection> sections;
    try {
        const std::optional<std::string> ini =
            m_profiles->ReadSmallFile(root + L"\\profiles.ini", LargestProfilesIni);
        if (!ini) {
            return stores;
        }
        sections = ParseIni(*ini);
    } catch (const CException& e) {
        sink.AddNotice(ProfilesUnreadable(GetKind(), Browser, e));
        return stores;
    }
    std::set<std::wstring> seen;
    for (const CIniSection& section : sections) {
        std::wstring path = section.Get(L"Path");
        if (!IsProfileSection(section.name) || path.empty()) {
            continue;
        }
        // A relative path is written with forward slashes; an absolute one is the system's own.
        const bool relative = section.Get(L"IsRelative") == L"1";
        if (relative) {
            std::replace(path.begin(), path.end(), L'/', L'\\');
        }
        const std::wstring folder = relative ? root + L'\\' + path : path;
        const std::wstring database = folder + L"\\cookies.sqlite";
        // Two sections naming one folder would list its cookies twice.
        if (!seen.insert(Lower(database)).second) {
            continue;
        }
        std::wstring name = section.Get(L"Name");
        if (name.empty()) {
            name = path;
        }
        try {
            // A profile whose folder is gone holds no cookies.
            if (!m_profiles->IsFile(database)) {
                continue;
            }
        } catch (const CException& e) {
            sink.AddNotice(StoreUnreadable(GetKind(), Browser, name, database, e));
            continue;
        }
        // A running Firefox holds "parent.lock", yet its database may still be read.
        stores.push_back({Browser, std::move(name), database, folder + L"\\parent.lock", true});
    }
    return stores;
}
