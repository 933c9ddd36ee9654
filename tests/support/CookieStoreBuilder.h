#pragma once

#include <windows.h>

#include <set>
#include <string>
#include <utility>

// Builds a real cookie store for the current user (in tests: the private Wine prefix): browser
// cookies as URL-cache entries, Flash ".sol" files below the roaming application-data folder,
// and authorized values in the registry. Free of any test framework, so tools link it too.
// Every operation raises CWin32Exception when the platform refuses it.
namespace CookieStore {

// The entry name the browser gives a cookie: "Cookie:user@host/path". Wine files an entry into
// the cookie container only with exactly this capitalisation of the prefix.
std::wstring BrowserCookieUrl(const std::wstring& host, const std::wstring& path = L"/",
                              const std::wstring& user = L"user");

struct CBrowserCookie {
    std::wstring url;
    // With a local file, the cookie's times are the file's: created and last written both at
    // fileTime. Without one, only the entry's last-access time is known.
    bool withFile = true;
    FILETIME fileTime{};
    FILETIME lastAccess{};
};

// One record of a browser cookie file: name, value, "host/path", flags, expiry and creation
// as low and high halves, then "*".
std::string CookieFileRecord(const std::string& name, const std::string& value,
                             const std::string& hostAndPath, FILETIME expires, FILETIME created);

// Commits the entry (and writes its local file). Returns the local file's path, or "" without.
// The file holds `contents`; by default a short text that is no whole cookie record.
std::wstring AddBrowserCookie(const CBrowserCookie& cookie, const std::string& contents = {});

// Every entry of the cookie container, by name.
std::set<std::wstring> BrowserCookieUrls();

// "<roaming app data>\Macromedia\Flash Player\#SharedObjects".
std::wstring FlashRoot();

// Writes a ".sol" file at FlashRoot()\relativePath (folders created as needed) with creation,
// last-write and last-access time all set to `time`, which a file system without creation
// times (Wine's) reports back unchanged too. Returns its full path.
std::wstring AddFlashFile(const std::wstring& relativePath, FILETIME time);

// Creates FlashRoot()\relativePath as a folder (and its parents). Returns its full path.
std::wstring AddFlashFolder(const std::wstring& relativePath);

// Makes FlashRoot()\relativePath a folder link (symbolic link) to `target`, a full path.
void AddFlashLink(const std::wstring& relativePath, const std::wstring& target);

// Replaces the file at `path` (a browser cookie's file, say) by a symbolic link to itself: it
// is still there, but neither it nor its attributes can be read (error 1921).
void MakeUnreadable(const std::wstring& path);

// Removes what MakeUnreadable left at `path`.
void RemoveUnreadable(const std::wstring& path);

// MakeUnreadable for the scope, RemoveUnreadable at its end: a tree's removal must never meet
// the link.
class CUnreadable {
public:
    explicit CUnreadable(std::wstring path) : m_path(std::move(path)) { MakeUnreadable(m_path); }
    CUnreadable(const CUnreadable&) = delete;
    CUnreadable& operator=(const CUnreadable&) = delete;
    ~CUnreadable() { RemoveUnreadable(m_path); }

private:
    std::wstring m_path;
};

// Writes the value HKCU\Software\Tollgate\Allowed\<name> (REG_SZ, empty).
void AddAuthorizedValue(const std::wstring& name);

// The value names under HKCU\Software\Tollgate\Allowed; empty when the key is missing.
std::set<std::wstring> AuthorizedValues();

// Removes every cookie-container entry, the whole shared-objects folder and the Allowed key.
void Clear();

} // namespace CookieStore
