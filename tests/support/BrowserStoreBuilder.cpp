#include "support/BrowserStoreBuilder.h"

#include "framework/UniqueHandle.h"
#include "sqlite/CSqliteDatabase.h"
#include "sqlite/CSqliteTransaction.h"
#include "store/ErrorText.h"

#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>

namespace BrowserStores {

namespace {

constexpr char ChromiumOld[] = R"(
CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
INSERT INTO meta VALUES('version', '11'), ('last_compatible_version', '11');
CREATE TABLE cookies (creation_utc INTEGER NOT NULL UNIQUE PRIMARY KEY, host_key TEXT NOT NULL,
  name TEXT NOT NULL, value TEXT NOT NULL, path TEXT NOT NULL, expires_utc INTEGER NOT NULL,
  is_secure INTEGER NOT NULL, is_httponly INTEGER NOT NULL, last_access_utc INTEGER NOT NULL,
  has_expires INTEGER NOT NULL DEFAULT 1, is_persistent INTEGER NOT NULL DEFAULT 1,
  priority INTEGER NOT NULL DEFAULT 1, encrypted_value BLOB DEFAULT '',
  firstpartyonly INTEGER NOT NULL DEFAULT 0);
)";

constexpr char ChromiumCurrent[] = R"(
CREATE TABLE meta(key LONGVARCHAR NOT NULL UNIQUE PRIMARY KEY, value LONGVARCHAR);
INSERT INTO meta VALUES('version', '24'), ('last_compatible_version', '24');
CREATE TABLE cookies(creation_utc INTEGER NOT NULL, host_key TEXT NOT NULL,
  top_frame_site_key TEXT NOT NULL, name TEXT NOT NULL, value TEXT NOT NULL,
  encrypted_value BLOB NOT NULL, path TEXT NOT NULL, expires_utc INTEGER NOT NULL,
  is_secure INTEGER NOT NULL, is_httponly INTEGER NOT NULL, last_access_utc INTEGER NOT NULL,
  has_expires INTEGER NOT NULL, is_persistent INTEGER NOT NULL, priority INTEGER NOT NULL,
  samesite INTEGER NOT NULL, source_scheme INTEGER NOT NULL, source_port INTEGER NOT NULL,
  last_update_utc INTEGER NOT NULL, source_type INTEGER NOT NULL,
  has_cross_site_ancestor INTEGER NOT NULL);
CREATE UNIQUE INDEX cookies_unique_index ON cookies(host_key, top_frame_site_key,
  has_cross_site_ancestor, name, path, source_scheme, source_port);
)";

constexpr char FirefoxOld[] = R"(
PRAGMA user_version = 10;
CREATE TABLE moz_cookies (id INTEGER PRIMARY KEY, baseDomain TEXT,
  originAttributes TEXT NOT NULL DEFAULT '', name TEXT, value TEXT, host TEXT, path TEXT,
  expiry INTEGER, lastAccessed INTEGER, creationTime INTEGER, isSecure INTEGER,
  isHttpOnly INTEGER, inBrowserElement INTEGER DEFAULT 0, sameSite INTEGER DEFAULT 0,
  rawSameSite INTEGER DEFAULT 0,
  CONSTRAINT moz_uniqueid UNIQUE (name, host, path, originAttributes));
)";

constexpr char FirefoxCurrent[] = R"(
PRAGMA user_version = 17;
CREATE TABLE moz_cookies (id INTEGER PRIMARY KEY, originAttributes TEXT NOT NULL DEFAULT '',
  name TEXT, value TEXT, host TEXT, path TEXT, expiry INTEGER, lastAccessed INTEGER,
  creationTime INTEGER, isSecure INTEGER, isHttpOnly INTEGER,
  inBrowserElement INTEGER DEFAULT 0, sameSite INTEGER DEFAULT 0, schemeMap INTEGER DEFAULT 0,
  isPartitionedAttributeSet INTEGER DEFAULT 0, updateTime INTEGER,
  CONSTRAINT moz_uniqueid UNIQUE (name, host, path, originAttributes));
)";

std::wstring KnownFolder(int csidl) {
    wchar_t folder[MAX_PATH] = {};
    ThrowIfFailed(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder));
    return folder;
}

void CreateFolders(const std::wstring& folder) {
    const int error = ::SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    if (error != ERROR_SUCCESS && error != ERROR_ALREADY_EXISTS) {
        ThrowIfWin32Error(static_cast<DWORD>(error));
    }
}

void DeleteTree(const std::wstring& folder) {
    if (::GetFileAttributesW(folder.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return;
    }
    std::wstring from = folder;
    from.append(2, L'\0');
    SHFILEOPSTRUCTW operation{};
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    ThrowIfWin32Error(static_cast<DWORD>(::SHFileOperationW(&operation)));
}

std::string Utf8(const std::wstring& text) {
    const int length = ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                             nullptr, 0, nullptr, nullptr);
    std::string bytes(static_cast<std::size_t>(length), '\0');
    ::WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), bytes.data(),
                          length, nullptr, nullptr);
    return bytes;
}

void WriteBytes(const std::wstring& file, const std::string& bytes) {
    CFileHandle handle(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    DWORD written = 0;
    if (!handle || !::WriteFile(handle.Get(), bytes.data(), static_cast<DWORD>(bytes.size()),
                                &written, nullptr)) {
        ThrowLastError();
    }
}

bool HasColumn(CSqliteDatabase& db, const std::wstring& table, const std::wstring& column) {
    const std::vector<std::wstring> columns = db.GetColumns(table);
    return std::find(columns.begin(), columns.end(), column) != columns.end();
}

// Inserts the rows in the browser's own column set; the columns the program never reads get
// the values a browser writes for an ordinary cookie.
void Insert(CSqliteDatabase& db, const std::vector<CRow>& rows) {
    const bool firefox = !db.GetColumns(L"moz_cookies").empty();
    const bool partitioned = HasColumn(db, L"cookies", L"top_frame_site_key");
    std::string sql;
    if (firefox) {
        sql = "INSERT INTO moz_cookies (host, name, path, creationTime, lastAccessed, "
              "originAttributes, value, expiry, isSecure, isHttpOnly) "
              "VALUES (?1, ?2, ?3, ?4, ?5, ?6, 'v', ?7, 0, 0)";
    } else if (partitioned) {
        sql = "INSERT INTO cookies VALUES (?4, ?1, ?6, ?2, '', x'7631305F', ?3, ?7, 1, 1, ?5, 0, "
              "0, 1, 0, 2, 443, ?4, 0, 0)";
    } else {
        sql = "INSERT INTO cookies (creation_utc, host_key, name, value, path, expires_utc, "
              "is_secure, is_httponly, last_access_utc) VALUES (?4, ?1, ?2, 'v', ?3, ?7, 0, 0, ?5)";
    }
    CSqliteTransaction transaction(db);
    CSqliteStatement insert = db.Prepare(sql);
    for (const CRow& row : rows) {
        insert.Bind(1, row.host);
        insert.Bind(2, row.name);
        insert.Bind(3, row.path);
        insert.Bind(4, row.created);
        insert.Bind(5, row.lastUsed);
        insert.Bind(7, row.expires);
        if (firefox || partitioned) {
            insert.Bind(6, row.partition);
        }
        insert.Step();
        insert.Reset();
    }
    transaction.Commit();
}

} // namespace

std::wstring LocalAppData() {
    return KnownFolder(CSIDL_LOCAL_APPDATA);
}

std::wstring AppData() {
    return KnownFolder(CSIDL_APPDATA);
}

std::wstring ChromiumProfile(const std::wstring& userData, const std::wstring& profile) {
    return LocalAppData() + L'\\' + userData + L'\\' + profile;
}

std::wstring AddChromiumStore(const std::wstring& profileFolder, Layout layout,
                              const std::vector<CRow>& rows) {
    const std::wstring folder =
        layout == Layout::Old ? profileFolder : profileFolder + L"\\Network";
    CreateFolders(folder);
    const std::wstring database = folder + L"\\Cookies";
    CSqliteDatabase db(database, CSqliteDatabase::Mode::Create);
    db.Execute(layout == Layout::Old ? ChromiumOld : ChromiumCurrent);
    Insert(db, rows);
    return database;
}

std::wstring FirefoxFolder() {
    return AppData() + L"\\Mozilla\\Firefox";
}

std::wstring AddFirefoxProfile(const std::wstring& name, const std::wstring& folder, Layout layout,
                               const std::vector<CRow>& rows) {
    ListFirefoxProfile(name, L"Profiles/" + folder, true);
    return AddFirefoxStore(FirefoxFolder() + L"\\Profiles\\" + folder, layout, rows);
}

void ListFirefoxProfile(const std::wstring& name, const std::wstring& path, bool relative) {
    const std::wstring root = FirefoxFolder();
    CreateFolders(root);
    const std::wstring ini = root + L"\\profiles.ini";
    std::string text;
    if (::GetFileAttributesW(ini.c_str()) != INVALID_FILE_ATTRIBUTES) {
        text = ReadBytes(ini);
    }
    int index = 0;
    while (text.find("[Profile" + std::to_string(index) + "]") != std::string::npos) {
        ++index;
    }
    text += Utf8(L"[Profile" + std::to_wstring(index) + L"]\nName=" + name + L"\nIsRelative=" +
                 (relative ? L"1" : L"0") + L"\nPath=" + path + L"\n\n");
    WriteBytes(ini, text);
}

std::wstring AddFirefoxStore(const std::wstring& folder, Layout layout,
                             const std::vector<CRow>& rows) {
    CreateFolders(folder);
    const std::wstring database = folder + L"\\cookies.sqlite";
    CSqliteDatabase db(database, CSqliteDatabase::Mode::Create);
    db.Execute("PRAGMA journal_mode = WAL");
    db.Execute(layout == Layout::Old ? FirefoxOld : FirefoxCurrent);
    Insert(db, rows);
    return database;
}

void AddFirefoxRowsToLog(const std::wstring& database, const std::vector<CRow>& rows) {
    CSqliteDatabase db(database, CSqliteDatabase::Mode::ReadWrite);
    db.Execute("PRAGMA wal_autocheckpoint = 0");
    db.LeaveLogOnClose();
    Insert(db, rows);
}

void AddRows(const std::wstring& database, const std::vector<CRow>& rows) {
    CSqliteDatabase db(database, CSqliteDatabase::Mode::ReadWrite);
    Insert(db, rows);
}

std::vector<std::wstring> DumpTable(const std::wstring& database, const std::string& table) {
    CSqliteDatabase db(database, CSqliteDatabase::Mode::ReadOnly);
    CSqliteStatement rows = db.Prepare("SELECT rowid, * FROM " + table + " ORDER BY rowid");
    const std::size_t count = db.GetColumns(std::wstring(table.begin(), table.end())).size() + 1;
    std::vector<std::wstring> dump;
    while (rows.Step()) {
        std::wstring line;
        for (std::size_t column = 0; column < count; ++column) {
            line += rows.GetText(static_cast<int>(column)) + L'|';
        }
        dump.push_back(line);
    }
    return dump;
}

std::wstring CheckIntegrity(const std::wstring& database) {
    CSqliteDatabase db(database, CSqliteDatabase::Mode::ReadWrite);
    CSqliteStatement check = db.Prepare("PRAGMA integrity_check");
    std::wstring result;
    while (check.Step()) {
        result += (result.empty() ? L"" : L"\n") + check.GetText(0);
    }
    return result;
}

void Overwrite(const std::wstring& file, long offset, const std::string& bytes) {
    CFileHandle handle(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) {
        ThrowLastError();
    }
    DWORD written = 0;
    if (::SetFilePointer(handle.Get(), offset, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER ||
        !::WriteFile(handle.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
                     nullptr)) {
        ThrowLastError();
    }
}

std::string ReadBytes(const std::wstring& file) {
    CFileHandle handle(::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!handle) {
        ThrowLastError();
    }
    std::string bytes(::GetFileSize(handle.Get(), nullptr), '\0');
    DWORD read = 0;
    if (!::ReadFile(handle.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        ThrowLastError();
    }
    bytes.resize(read);
    return bytes;
}

void Clear() {
    const std::wstring local = LocalAppData();
    for (const wchar_t* folder :
         {L"Google", L"Chromium", L"Microsoft\\Edge", L"Microsoft\\Edge Beta",
          L"Microsoft\\Edge Dev", L"Microsoft\\Edge SxS", L"BraveSoftware", L"Vivaldi"}) {
        DeleteTree(local + L'\\' + folder);
    }
    DeleteTree(AppData() + L"\\Opera Software");
    DeleteTree(AppData() + L"\\Mozilla");
}

} // namespace BrowserStores
