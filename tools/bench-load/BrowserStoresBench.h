#pragma once

#include <windows.h>

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

// The browsers' SQLite stores in the load benchmark: two Chromium profiles with 100,000 cookies
// over 8,000 sites and a Firefox profile with 30,000, all at `scale`.
class CBrowserStoresBench {
public:
    // A site's last use, by its number.
    using CSiteTime = std::function<FILETIME(int site)>;

    // Without `lastUsed`, every cookie's last use is a fixed time after its creation.
    void Build(double scale, const CSiteTime& lastUsed = nullptr);
    // The bare platform work of reading them: every store opened and its rows queried.
    std::size_t Read() const;
    // Loads with the program's manager and prints "browser-cookies-shown X of Y", then times
    // Delete of 1,000 sites that have cookies in all three stores: "delete-seconds".
    void Measure() const;
    void Clear();

private:
    int m_sites = 8000;
    int m_chromiumCookies = 100000;
    int m_firefoxCookies = 30000;
    int m_deletedSites = 1000;
    std::vector<std::wstring> m_chromium;
    std::wstring m_firefox;
};
