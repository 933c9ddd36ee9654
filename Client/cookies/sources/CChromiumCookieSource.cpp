#include "cookies/sources/CChromiumCookieSource.h"

#include "cookies/sources/CWin32BrowserProfiles.h"
#include "store/Exceptions.h"

namespace {

// Times are microseconds since 1601-01-01, a FILETIME's own epoch; an expiry of 0 marks a
// session cookie.
constexpr CCookieTable ChromiumTable = {
    "cookies",
    "rowid",
    "host_key",
    "creation_utc",
    "last_access_utc",
    "top_frame_site_key",
    false,
    0,
    "expires_utc",
    1,
    0,
    1,
};

struct CInstall {
    CookieKind kind;
    const wchar_t* browser;
    // Below the roaming application-data folder rather than the local one.
    bool roaming;
    const wchar_t* folder;
    // The folder is a profile itself (and may hold another in "Default"), not "User Data".
    bool isProfile;
};

constexpr CInstall Installs[] = {
    {CookieKind::Chrome, L"Google Chrome", false, L"Google\\Chrome\\User Data", false},
    {CookieKind::Chrome, L"Google Chrome Beta", false, L"Google\\Chrome Beta\\User Data", false},
    {CookieKind::Chrome, L"Google Chrome Dev", false, L"Google\\Chrome Dev\\User Data", false},
    {CookieKind::Chrome, L"Google Chrome Canary", false, L"Google\\Chrome SxS\\User Data", false},
    {CookieKind::Chrome, L"Chromium", false, L"Chromium\\User Data", false},
    {CookieKind::Edge, L"Microsoft Edge", false, L"Microsoft\\Edge\\User Data", false},
    {CookieKind::Edge, L"Microsoft Edge Beta", false, L"Microsoft\\Edge Beta\\User Data", false},
    {CookieKind::Edge, L"Microsoft Edge Dev", false, L"Microsoft\\Edge Dev\\User Data", false},
    {CookieKind::Edge, L"Microsoft Edge Canary", false, L"Microsoft\\Edge SxS\\User Data", false},
    {CookieKind::Brave, L"Brave", false, L"BraveSoftware\\Brave-Browser\\User Data", false},
    {CookieKind::Opera, L"Opera", true, L"Opera Software\\Opera Stable", true},
    {CookieKind::Opera, L"Opera GX", true, L"Opera Software\\Opera GX Stable", true},
    {CookieKind::Vivaldi, L"Vivaldi", false, L"Vivaldi\\User Data", false},
};

} // namespace

CRefPtr<CCookieSource> CChromiumCookieSource::Create(CookieKind kind) {
    return Create(kind, std::make_shared<CWin32BrowserProfiles>());
}

CRefPtr<CCookieSource> CChromiumCookieSource::Create(CookieKind kind,
                                                     std::shared_ptr<CBrowserProfiles> profiles) {
    return CRefPtr<CCookieSource>(new CChromiumCookieSource(kind, std::move(profiles)));
}

CChromiumCookieSource::CChromiumCookieSource(CookieKind kind,
                                             std::shared_ptr<CBrowserProfiles> profiles)
    : CDatabaseCookieSource(kind, std::move(profiles), ChromiumTable) {}

std::vector<CBrowserStore> CChromiumCookieSource::FindStores(CCookieSink& sink) {
    std::vector<CBrowserStore> stores;
    const CookieKind kind = GetKind();
    for (const CInstall& install : Installs) {
        if (install.kind != kind) {
            continue;
        }
        const std::wstring folder =
            (install.roaming ? m_appData : m_localAppData) + L'\\' + install.folder;
        if (install.isProfile) {
            const std::wstring name = folder.substr(folder.rfind(L'\\') + 1);
            AddProfile(install.browser, folder, folder, name, stores, sink);
            AddProfile(install.browser, folder, folder + L"\\Default", L"Default", stores, sink);
            continue;
        }
        std::vector<std::wstring> profiles;
        try {
            profiles = m_profiles->ListFolders(folder);
        } catch (const CException& e) {
            // One browser's folder that cannot be listed hides only that browser.
            sink.AddNotice(ProfilesUnreadable(kind, install.browser, e));
            continue;
        }
        for (const std::wstring& profile : profiles) {
            // The browser's own profiles for its sign-in screen and guest windows.
            if (profile != L"System Profile" && profile != L"Guest Profile") {
                AddProfile(install.browser, folder, folder + L'\\' + profile, profile, stores,
                           sink);
            }
        }
    }
    return stores;
}

void CChromiumCookieSource::AddProfile(const std::wstring& browser, const std::wstring& userData,
                                       const std::wstring& folder, const std::wstring& profile,
                                       std::vector<CBrowserStore>& stores, CCookieSink& sink) {
    // Chrome 96 moved the database into "Network"; an older profile keeps it at the top.
    std::wstring database = folder + L"\\Network\\Cookies";
    try {
        if (!m_profiles->IsFile(database)) {
            database = folder + L"\\Cookies";
            if (!m_profiles->IsFile(database)) {
                return;
            }
        }
    } catch (const CException& e) {
        sink.AddNotice(StoreUnreadable(GetKind(), browser, profile, database, e));
        return;
    }
    // A running browser holds its "lockfile"; where it also opens the database exclusively,
    // nobody else can read it, which the read finds out for itself.
    stores.push_back({browser, profile, database, userData + L"\\lockfile", true});
}
