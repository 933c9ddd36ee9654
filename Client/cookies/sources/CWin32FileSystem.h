#pragma once

#include "cookies/sources/CFileSystem.h"

// The Windows file system, through the shell for the folder and for deleting.
class CWin32FileSystem final : public CFileSystem {
public:
    std::wstring GetAppDataFolder() override;
    bool ListFolder(const std::wstring& folder, std::vector<CFolderEntry>& entries) override;
    DWORD GetAttributes(const std::wstring& path) override;
    DWORD GetFileTimes(const std::wstring& path, FILETIME& created, FILETIME& lastWritten) override;
    bool ReadSmallFile(const std::wstring& path, std::size_t limit, std::string& contents) override;
    bool DeleteTree(const std::wstring& path) override;
};
