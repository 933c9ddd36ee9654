#pragma once

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
    // True when `path` is a file (not a folder).
    virtual bool IsFile(const std::wstring& path) = 0;
    // True when a running program holds the file so that nobody else may open it.
    virtual bool IsHeld(const std::wstring& path) = 0;

    // The section names of an ini file, and one value of it ("" when missing), through the
    // profile-string functions.
    virtual std::vector<std::wstring> GetIniSections(const std::wstring& file) = 0;
    virtual std::wstring GetIniString(const std::wstring& file, const std::wstring& section,
                                      const std::wstring& key) = 0;
};
