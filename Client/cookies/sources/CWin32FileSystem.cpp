#include "cookies/sources/CWin32FileSystem.h"

#include "framework/UniqueHandle.h"
#include "store/ErrorText.h"
#include "store/Exceptions.h"

#include <shlobj.h>
#include <shellapi.h>

std::wstring CWin32FileSystem::GetAppDataFolder() {
    wchar_t folder[MAX_PATH] = {};
    ThrowIfFailed(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, folder));
    return folder;
}

bool CWin32FileSystem::ListFolder(const std::wstring& folder, std::vector<CFolderEntry>& entries) {
    entries.clear();
    WIN32_FIND_DATAW found;
    CFindHandle find(::FindFirstFileW((folder + L"\\*.*").c_str(), &found));
    if (!find) {
        const DWORD error = ::GetLastError();
        // A missing folder gives ERROR_PATH_NOT_FOUND: one the user deleted while the search
        // ran is as absent as one that never was.
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND) {
            return false;
        }
        throw CWin32Exception(error, std::wstring());
    }
    do {
        entries.push_back({found.cFileName, found.dwFileAttributes, found.ftCreationTime,
                           found.ftLastAccessTime});
    } while (::FindNextFileW(find.Get(), &found));
    return true;
}

DWORD CWin32FileSystem::GetAttributes(const std::wstring& path) {
    if (path.size() >= MAX_PATH) {
        return INVALID_FILE_ATTRIBUTES;
    }
    return ::GetFileAttributesW(path.c_str());
}

DWORD CWin32FileSystem::GetFileTimes(const std::wstring& path, FILETIME& created,
                                     FILETIME& lastWritten) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) {
        return ::GetLastError();
    }
    created = data.ftCreationTime;
    lastWritten = data.ftLastWriteTime;
    return ERROR_SUCCESS;
}

bool CWin32FileSystem::ReadSmallFile(const std::wstring& path, std::size_t limit,
                                     std::string& contents) {
    contents.clear();
    // The browser may be writing the file meanwhile: share everything, read what is there.
    CFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ,
                                   FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                   OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !::GetFileSizeEx(file.Get(), &size) ||
        static_cast<unsigned long long>(size.QuadPart) > limit) {
        return false;
    }
    contents.resize(static_cast<std::size_t>(size.QuadPart));
    std::size_t done = 0;
    while (done < contents.size()) {
        DWORD read = 0;
        if (!::ReadFile(file.Get(), contents.data() + done,
                        static_cast<DWORD>(contents.size() - done), &read, nullptr)) {
            contents.clear();
            return false;
        }
        if (read == 0) {
            break;
        }
        done += read;
    }
    contents.resize(done);
    return true;
}

bool CWin32FileSystem::DeleteTree(const std::wstring& path) {
    std::wstring from = path;
    from.append(2, L'\0');
    SHFILEOPSTRUCTW operation{};
    operation.hwnd = ::GetActiveWindow();
    operation.wFunc = FO_DELETE;
    operation.pFrom = from.c_str();
    // The caller tells the user of a failure; the shell's own error boxes would come first.
    operation.fFlags = FOF_SILENT | FOF_NOCONFIRMATION | FOF_NOERRORUI;
    return ::SHFileOperationW(&operation) == 0;
}
