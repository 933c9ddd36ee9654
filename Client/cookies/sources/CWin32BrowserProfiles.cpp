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
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
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
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool CWin32BrowserProfiles::IsHeld(const std::wstring& path) {
    // Reading alongside everybody else fails only where the holder shares nothing.
    CFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    return !file && ::GetLastError() == ERROR_SHARING_VIOLATION;
}

std::vector<std::wstring> CWin32BrowserProfiles::GetIniSections(const std::wstring& file) {
    std::vector<wchar_t> buffer(4096);
    for (;;) {
        const DWORD length = ::GetPrivateProfileSectionNamesW(
            buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
        // A full buffer comes back as its size less two: try again with more room.
        if (length + 2 < buffer.size()) {
            std::vector<std::wstring> names;
            for (const wchar_t* name = buffer.data(); *name != L'\0';
                 name += names.back().size() + 1) {
                names.emplace_back(name);
            }
            return names;
        }
        buffer.resize(buffer.size() * 2);
    }
}

std::wstring CWin32BrowserProfiles::GetIniString(const std::wstring& file,
                                                 const std::wstring& section,
                                                 const std::wstring& key) {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            ::GetPrivateProfileStringW(section.c_str(), key.c_str(), L"", buffer.data(),
                                       static_cast<DWORD>(buffer.size()), file.c_str());
        if (length + 1 < buffer.size()) {
            return std::wstring(buffer.data(), length);
        }
        buffer.resize(buffer.size() * 2);
    }
}
