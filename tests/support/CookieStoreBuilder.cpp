#include "support/CookieStoreBuilder.h"

#include "framework/UniqueHandle.h"
#include "store/ErrorText.h"

#include <shlobj.h>
#include <wininet.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace CookieStore {

namespace {

constexpr wchar_t AllowedKey[] = L"Software\\Tollgate\\Allowed";

void Check(BOOL succeeded) {
    if (!succeeded) {
        ThrowLastError();
    }
}

// The store may hold paths longer than MAX_PATH on purpose; the extended form reaches them.
std::wstring Extended(const std::wstring& path) {
    return L"\\\\?\\" + path;
}

void CreateFolders(const std::wstring& path) {
    for (std::size_t at = path.find(L'\\', 3); at != std::wstring::npos;
         at = path.find(L'\\', at + 1)) {
        ::CreateDirectoryW(Extended(path.substr(0, at)).c_str(), nullptr);
    }
    if (!::CreateDirectoryW(Extended(path).c_str(), nullptr) &&
        ::GetLastError() != ERROR_ALREADY_EXISTS) {
        ThrowLastError();
    }
}

void WriteFile(const std::wstring& path, FILETIME time, const char* contents) {
    CFileHandle file(::CreateFileW(Extended(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        ThrowLastError();
    }
    DWORD written = 0;
    Check(::WriteFile(file.Get(), contents, static_cast<DWORD>(std::strlen(contents)), &written,
                      nullptr));
    Check(::SetFileTime(file.Get(), &time, &time, &time));
}

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(Extended(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The quoted Unix path of a Windows path, when running on Wine.
std::wstring UnixPath(const std::wstring& path) {
    using UnixName = char*(CDECL*)(LPCWSTR);
    const auto unixName = reinterpret_cast<UnixName>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
    char* name = unixName ? unixName(path.c_str()) : nullptr;
    if (name == nullptr) {
        ThrowIfWin32Error(ERROR_NOT_SUPPORTED);
    }
    std::wstring result = L"\"" + std::wstring(name, name + std::strlen(name)) + L"\"";
    ::HeapFree(::GetProcessHeap(), 0, name);
    return result;
}

// The quoted Unix path of a link itself: Wine resolves a link named in full to its target.
std::wstring UnixLinkPath(const std::wstring& path) {
    const std::size_t slash = path.rfind(L'\\');
    std::wstring link = UnixPath(path.substr(0, slash));
    link.insert(link.size() - 1, L"/" + path.substr(slash + 1));
    return link;
}

// Wine can neither make nor remove a link from the Windows side (CreateSymbolicLinkW reports
// success and makes nothing), but shows a Unix symbolic link to a folder as a folder reparse
// point; so the host's own "ln" and "rm" do it. Wine starts a Unix program without a process
// handle to wait on: wait until `done` says the link has appeared or gone.
void RunOnHost(const std::wstring& program, const std::wstring& arguments,
               const std::function<bool()>& done) {
    std::wstring command = program + L" " + arguments;
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    Check(::CreateProcessW((L"Z:\\bin\\" + program).c_str(), command.data(), nullptr, nullptr,
                           FALSE, 0, nullptr, nullptr, &startup, &process));
    CKernelHandle thread(process.hThread);
    CKernelHandle started(process.hProcess);
    for (int wait = 0; wait < 200; ++wait) {
        if (done()) {
            return;
        }
        ::Sleep(25);
    }
    ThrowIfWin32Error(ERROR_TIMEOUT);
}

// The error GetFileAttributesW gives for `path`, 0 when it gives attributes.
DWORD AttributesError(const std::wstring& path) {
    return ::GetFileAttributesW(Extended(path).c_str()) != INVALID_FILE_ATTRIBUTES
               ? ERROR_SUCCESS
               : ::GetLastError();
}

// Removes a tree without following links: a link is removed itself, never what it points at.
void DeleteTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found;
    CFindHandle find(::FindFirstFileW(Extended(folder + L"\\*").c_str(), &found));
    if (find) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") {
                continue;
            }
            const std::wstring full = folder + L"\\" + name;
            const DWORD attributes = found.dwFileAttributes;
            if ((attributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
                ::SetFileAttributesW(Extended(full).c_str(), FILE_ATTRIBUTE_NORMAL);
                Check(::DeleteFileW(Extended(full).c_str()));
            } else if ((attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0) {
                RunOnHost(L"rm", UnixLinkPath(full), [&] { return !Exists(full); });
            } else {
                DeleteTree(full);
            }
        } while (::FindNextFileW(find.Get(), &found));
    }
    find.Reset();
    if (!::RemoveDirectoryW(Extended(folder).c_str())) {
        const DWORD error = ::GetLastError();
        if (error != ERROR_FILE_NOT_FOUND && error != ERROR_PATH_NOT_FOUND) {
            ThrowIfWin32Error(error);
        }
    }
}

FILETIME FileTimeIn(std::int64_t seconds) {
    FILETIME now;
    ::GetSystemTimeAsFileTime(&now);
    ULARGE_INTEGER value{{now.dwLowDateTime, now.dwHighDateTime}};
    value.QuadPart += static_cast<ULONGLONG>(seconds) * 10'000'000ULL;
    return FILETIME{value.LowPart, value.HighPart};
}

void CollectUrls(const wchar_t* pattern, std::set<std::wstring>& urls) {
    DWORD capacity = 4096;
    std::vector<BYTE> buffer(capacity);
    DWORD size = capacity;
    auto* entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
    CUrlCacheFindHandle find(::FindFirstUrlCacheEntryW(pattern, entry, &size));
    DWORD error = find ? ERROR_SUCCESS : ::GetLastError();
    while (error == ERROR_INSUFFICIENT_BUFFER && !find) {
        capacity = size;
        buffer.resize(capacity);
        entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
        find.Reset(::FindFirstUrlCacheEntryW(pattern, entry, &size));
        error = find ? ERROR_SUCCESS : ::GetLastError();
    }
    while (error == ERROR_SUCCESS) {
        const std::wstring url = entry->lpszSourceUrlName ? entry->lpszSourceUrlName : L"";
        if (_wcsnicmp(url.c_str(), L"cookie:", 7) == 0) {
            urls.insert(url);
        }
        size = capacity;
        error =
            ::FindNextUrlCacheEntryW(find.Get(), entry, &size) ? ERROR_SUCCESS : ::GetLastError();
        if (error == ERROR_INSUFFICIENT_BUFFER) {
            capacity = size;
            buffer.resize(capacity);
            entry = reinterpret_cast<INTERNET_CACHE_ENTRY_INFOW*>(buffer.data());
            size = capacity;
            error = ::FindNextUrlCacheEntryW(find.Get(), entry, &size) ? ERROR_SUCCESS
                                                                       : ::GetLastError();
        }
    }
    if (error != ERROR_NO_MORE_ITEMS) {
        ThrowIfWin32Error(error);
    }
}

} // namespace

std::wstring BrowserCookieUrl(const std::wstring& host, const std::wstring& path,
                              const std::wstring& user) {
    return L"Cookie:" + user + L"@" + host + path;
}

std::wstring AddBrowserCookie(const CBrowserCookie& cookie, const std::string& contents) {
    std::wstring file;
    if (cookie.withFile) {
        wchar_t name[MAX_PATH] = {};
        Check(::CreateUrlCacheEntryW(cookie.url.c_str(), 0, L"txt", name, 0));
        file = name;
        WriteFile(file, cookie.fileTime,
                  contents.empty() ? "name\nvalue\nexample/\n1536\n" : contents.c_str());
    }
    Check(::CommitUrlCacheEntryW(cookie.url.c_str(), file.empty() ? nullptr : file.c_str(),
                                 FileTimeIn(365LL * 24 * 3600), FILETIME{}, COOKIE_CACHE_ENTRY,
                                 nullptr, 0, L"txt", nullptr));
    if (cookie.lastAccess.dwLowDateTime != 0 || cookie.lastAccess.dwHighDateTime != 0) {
        INTERNET_CACHE_ENTRY_INFOW info{};
        info.dwStructSize = sizeof info;
        info.LastAccessTime = cookie.lastAccess;
        Check(::SetUrlCacheEntryInfoW(cookie.url.c_str(), &info, CACHE_ENTRY_ACCTIME_FC));
    }
    return file;
}

std::string CookieFileRecord(const std::string& name, const std::string& value,
                             const std::string& hostAndPath, FILETIME expires, FILETIME created) {
    return name + "\n" + value + "\n" + hostAndPath + "\n1536\n" +
           std::to_string(expires.dwLowDateTime) + "\n" + std::to_string(expires.dwHighDateTime) +
           "\n" + std::to_string(created.dwLowDateTime) + "\n" +
           std::to_string(created.dwHighDateTime) + "\n*\n";
}

std::set<std::wstring> BrowserCookieUrls() {
    // Windows finds the cookie container by "cookie:", Wine only by its exact "Cookie:".
    std::set<std::wstring> urls;
    CollectUrls(L"cookie:", urls);
    CollectUrls(L"Cookie:", urls);
    return urls;
}

std::wstring FlashRoot() {
    wchar_t appData[MAX_PATH] = {};
    ThrowIfFailed(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData));
    return std::wstring(appData) + L"\\Macromedia\\Flash Player\\#SharedObjects";
}

std::wstring AddFlashFile(const std::wstring& relativePath, FILETIME time) {
    const std::wstring full = FlashRoot() + L"\\" + relativePath;
    CreateFolders(full.substr(0, full.rfind(L'\\')));
    WriteFile(full, time, "\x00\xbf\x00\x00\x00\x20TCSO");
    return full;
}

std::wstring AddFlashFolder(const std::wstring& relativePath) {
    const std::wstring full = FlashRoot() + L"\\" + relativePath;
    CreateFolders(full);
    return full;
}

void AddFlashLink(const std::wstring& relativePath, const std::wstring& target) {
    const std::wstring link = FlashRoot() + L"\\" + relativePath;
    CreateFolders(link.substr(0, link.rfind(L'\\')));
    if (::CreateSymbolicLinkW(link.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_DIRECTORY) &&
        Exists(link)) {
        return;
    }
    RunOnHost(L"ln", L"-s " + UnixPath(target) + L" " + UnixPath(link),
              [&] { return Exists(link); });
}

void MakeUnreadable(const std::wstring& path) {
    Check(::DeleteFileW(Extended(path).c_str()));
    const std::wstring name = path.substr(path.rfind(L'\\') + 1);
    RunOnHost(L"ln", L"-s \"" + name + L"\" " + UnixPath(path),
              [&] { return AttributesError(path) == ERROR_CANT_RESOLVE_FILENAME; });
}

void RemoveUnreadable(const std::wstring& path) {
    RunOnHost(L"rm", L"-f " + UnixLinkPath(path),
              [&] { return AttributesError(path) == ERROR_FILE_NOT_FOUND; });
}

void AddAuthorizedValue(const std::wstring& name) {
    CRegKey key;
    ThrowIfWin32Error(
        static_cast<DWORD>(::RegCreateKeyExW(HKEY_CURRENT_USER, AllowedKey, 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, key.Receive(), nullptr)));
    ThrowIfWin32Error(static_cast<DWORD>(::RegSetValueExW(
        key.Get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(L""), sizeof(wchar_t))));
}

std::set<std::wstring> AuthorizedValues() {
    std::set<std::wstring> names;
    CRegKey key;
    // Query rights alone: tests deny the key's write rights, which share READ_CONTROL.
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, AllowedKey, 0, KEY_QUERY_VALUE, key.Receive()) !=
        ERROR_SUCCESS) {
        return names;
    }
    std::vector<wchar_t> name(16384);
    for (DWORD index = 0;; ++index) {
        auto length = static_cast<DWORD>(name.size());
        const LSTATUS status = ::RegEnumValueW(key.Get(), index, name.data(), &length, nullptr,
                                               nullptr, nullptr, nullptr);
        if (status == ERROR_NO_MORE_ITEMS) {
            return names;
        }
        ThrowIfWin32Error(static_cast<DWORD>(status));
        names.emplace(name.data(), length);
    }
}

void Clear() {
    for (const std::wstring& url : BrowserCookieUrls()) {
        if (!::DeleteUrlCacheEntryW(url.c_str()) && ::GetLastError() != ERROR_FILE_NOT_FOUND) {
            ThrowLastError();
        }
    }
    DeleteTree(FlashRoot());
    const LSTATUS deleted = ::RegDeleteTreeW(HKEY_CURRENT_USER, AllowedKey);
    if (deleted != ERROR_FILE_NOT_FOUND) {
        ThrowIfWin32Error(static_cast<DWORD>(deleted));
    }
}

} // namespace CookieStore
