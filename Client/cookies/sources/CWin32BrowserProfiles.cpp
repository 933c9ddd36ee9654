#include "cookies/sources/CWin32BrowserProfiles.h"

#include "framework/UniqueHandle.h"
#include "store/ErrorText.h"
#include "store/Exceptions.h"

#include <shlobj.h>

namespace {

std::wstring KnownFolder(int csidl) {
    wchar_t folder[MAX_PATH] = {};
    ThrowIfFailed(::SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, folder));
    return folder;
}

// The path, or a folder on its way to it, is not there.
bool IsMissing(DWORD error) {
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
}

} // namespace

std::wstring CWin32BrowserProfiles::GetLocalAppDataFolder() {
    return KnownFolder(CSIDL_LOCAL_APPDATA);
}

std::wstring CWin32BrowserProfiles::GetAppDataFolder() {
    return KnownFolder(CSIDL_APPDATA);
}

std::vector<std::wstring> CWin32BrowserProfiles::ListFolders(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    CFindHandle find(::FindFirstFileW((folder + L"\\*").c_str(), &found));
    if (!find) {
        const DWORD error = ::GetLastError();
        if (IsMissing(error)) {
            return names;
        }
        throw CWin32Exception(error, std::wstring());
    }
    do {
        const std::wstring name = found.cFileName;
        // A link may lead anywhere, even back up the tree: profiles are real folders.
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0 &&
            (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) == 0 && name != L"." &&
            name != L"..") {
            names.push_back(name);
        }
    } while (::FindNextFileW(find.Get(), &found));
    return names;
}

bool CWin32BrowserProfiles::IsFile(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD error = ::GetLastError();
        if (IsMissing(error)) {
            return false;
        }
        throw CWin32Exception(error, std::wstring());
    }
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool CWin32BrowserProfiles::IsHeld(const std::wstring& path) {
    // Reading alongside everybody else fails only where the holder shares nothing.
    CFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return !file && ::GetLastError() == ERROR_SHARING_VIOLATION;
}

std::optional<std::string> CWin32BrowserProfiles::ReadSmallFile(const std::wstring& path,
                                                                std::size_t limit) {
    // The browser may rewrite the file meanwhile: share everything.
    CFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) {
        const DWORD error = ::GetLastError();
        if (IsMissing(error)) {
            return std::nullopt;
        }
        throw CWin32Exception(error, std::wstring());
    }
    LARGE_INTEGER size{};
    if (!::GetFileSizeEx(file.Get(), &size)) {
        ThrowLastError();
    }
    if (static_cast<unsigned long long>(size.QuadPart) > limit) {
        throw CWin32Exception(ERROR_FILE_TOO_LARGE, std::wstring());
    }
    std::string bytes(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!::ReadFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr)) {
        ThrowLastError();
    }
    bytes.resize(read);
    return bytes;
}
