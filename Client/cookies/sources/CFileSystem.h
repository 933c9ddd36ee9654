#pragma once

#include <windows.h>

#include <string>
#include <vector>

// One entry of a folder listing, with what the cookie sources read of it.
struct CFolderEntry {
    std::wstring name;
    DWORD attributes = 0;
    FILETIME created{};
    FILETIME lastAccess{};
};

// What the cookie sources need of the file system.
class CFileSystem {
public:
    virtual ~CFileSystem() = default;

    // The current user's roaming application-data folder. Raises CComException.
    virtual std::wstring GetAppDataFolder() = 0;

    // Every entry of `folder`, "." and ".." included, in the file system's order. False when
    // the folder is not found; raises CWin32Exception for any other failure.
    virtual bool ListFolder(const std::wstring& folder, std::vector<CFolderEntry>& entries) = 0;

    // The attributes of a file or folder, INVALID_FILE_ATTRIBUTES when there is none (or the
    // path is too long to test).
    virtual DWORD GetAttributes(const std::wstring& path) = 0;

    // A file's creation and last-write times, read without opening the file, so that one the
    // browser holds open or one the user may not read still gives them. 0 when they were
    // read; ERROR_FILE_NOT_FOUND or ERROR_PATH_NOT_FOUND when there is no such file; any other
    // code when the file is there but its times cannot be read.
    virtual DWORD GetFileTimes(const std::wstring& path, FILETIME& created,
                               FILETIME& lastWritten) = 0;

    // Reads a whole file of at most `limit` bytes into `contents`. False when it cannot be
    // opened or read, or is larger; raises nothing.
    virtual bool ReadSmallFile(const std::wstring& path, std::size_t limit,
                               std::string& contents) = 0;

    // Deletes a folder with everything in it (or a single file), permanently and without
    // asking. True on success.
    virtual bool DeleteTree(const std::wstring& path) = 0;
};
