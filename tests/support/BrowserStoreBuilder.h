#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Builds the browsers' real cookie databases for the current user (in tests: the private Wine
// prefix), at the browsers' own paths and in their own layouts, written with the same SQLite
// the program reads them with. Free of any test framework, so tools link it too. Failures of
// SQLite raise CSqliteError, of the platform CWin32Exception.
namespace BrowserStores {

// One cookie row. Times are the table's own: microseconds since 1601 for the Chromium family,
// since 1970 for Firefox. The partition is Chromium's top frame site (current layout only) or
// Firefox's origin attributes.
struct CRow {
    CRow(std::wstring hostName, std::wstring cookieName, std::wstring cookiePath,
         std::int64_t createdTime, std::int64_t lastUsedTime, std::wstring partitionKey = L"")
        : host(std::move(hostName)), name(std::move(cookieName)), path(std::move(cookiePath)),
          created(createdTime), lastUsed(lastUsedTime), partition(std::move(partitionKey)) {}

    std::wstring host;
    std::wstring name;
    std::wstring path;
    std::int64_t created = 0;
    std::int64_t lastUsed = 0;
    std::wstring partition;
    // In the table's own unit: Chromium's microseconds since 1601, 0 for a session cookie;
    // Firefox's seconds (old layout) or milliseconds (current) since 1970.
    std::int64_t expires = 0;
};

enum class Layout {
    // Chromium before version 96: meta version 11, "<profile>\Cookies". Firefox: schema 10.
    Old,
    // Chromium meta version 24 in "<profile>\Network\Cookies". Firefox: schema 17.
    Current,
};

std::wstring LocalAppData();
std::wstring AppData();

// Writes the cookie database of the Chromium profile in `profileFolder` (a full path).
// Returns the database's path.
std::wstring AddChromiumStore(const std::wstring& profileFolder, Layout layout,
                              const std::vector<CRow>& rows);
// "<local app data>\<userData>\<profile>", e.g. ("Google\Chrome\User Data", "Default").
std::wstring ChromiumProfile(const std::wstring& userData, const std::wstring& profile);

// Lists a profile in Firefox's "profiles.ini" and writes its "cookies.sqlite" in WAL mode in
// "<app data>\Mozilla\Firefox\Profiles\<folder>". Returns the database's path.
std::wstring AddFirefoxProfile(const std::wstring& name, const std::wstring& folder, Layout layout,
                               const std::vector<CRow>& rows);
// Adds a section "[ProfileN]" to "profiles.ini", which is written in UTF-8 without a byte-order
// mark, as Firefox writes it. `path` is the file's own: relative to the Firefox folder with
// forward slashes, or absolute.
void ListFirefoxProfile(const std::wstring& name, const std::wstring& path, bool relative);
// Writes "cookies.sqlite" in WAL mode in `folder` (a full path, created as needed). Returns the
// database's path.
std::wstring AddFirefoxStore(const std::wstring& folder, Layout layout,
                             const std::vector<CRow>& rows);
// "<app data>\Mozilla\Firefox".
std::wstring FirefoxFolder();
// Adds rows that stay in the write-ahead log beside the database, as after a crash.
void AddFirefoxRowsToLog(const std::wstring& database, const std::vector<CRow>& rows);

// Adds rows to an existing database of either browser.
void AddRows(const std::wstring& database, const std::vector<CRow>& rows);

// Every row of `table`, each as the text of all its columns, in row order: to compare whole
// tables before and after.
std::vector<std::wstring> DumpTable(const std::wstring& database, const std::string& table);
// "ok", or what PRAGMA integrity_check found.
std::wstring CheckIntegrity(const std::wstring& database);

// Writes `bytes` over the file at `offset`.
void Overwrite(const std::wstring& file, long offset, const std::string& bytes);
// The whole file.
std::string ReadBytes(const std::wstring& file);

// Removes every browser folder these functions write.
void Clear();

} // namespace BrowserStores
