#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// What the browser-database sources need of the platform to find the browsers' profiles and
// to tell whether a browser holds a store.
class CBrowserProfiles {
public:
    virtual ~CBrowserProfiles() = default;

    // The current user's local and roaming application-data folders. Raise CComException.
    virtual std::wstring GetLocalAppDataFolder() = 0;
    virtual std::wstring GetAppDataFolder() = 0;

    // The names of the direct sub-folders of `folder`, links left out; none when it is missing.
    virtual std::vector<std::wstring> ListFolders(const std::wstring& folder) = 0;
    // True when `path` is a file (not a folder); false when it, or a folder on its way, is
    // missing. Raises CWin32Exception when it cannot be told for another reason (access
    // denied, say).
    virtual bool IsFile(const std::wstring& path) = 0;
    // True when a running program holds the file so that nobody else may open it.
    virtual bool IsHeld(const std::wstring& path) = 0;

    // The bytes of the file at `path`, none when it or a folder on its way is missing. Raises
    // CWin32Exception when it cannot be read or is larger than `limit` bytes.
    virtual std::optional<std::string> ReadSmallFile(const std::wstring& path,
                                                     std::size_t limit) = 0;
};
