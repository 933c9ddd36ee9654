#pragma once

#include "cookies/sources/CBrowserProfiles.h"

// The browsers' profiles on the Windows file system.
class CWin32BrowserProfiles final : public CBrowserProfiles {
public:
    std::wstring GetLocalAppDataFolder() override;
    std::wstring GetAppDataFolder() override;
    std::vector<std::wstring> ListFolders(const std::wstring& folder) override;
    bool IsFile(const std::wstring& path) override;
    bool IsHeld(const std::wstring& path) override;
    std::optional<std::string> ReadSmallFile(const std::wstring& path, std::size_t limit) override;
};
