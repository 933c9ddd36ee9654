#pragma once

#include "cookies/sources/CUrlCacheSearch.h"

#include <windows.h>

#include <memory>
#include <string>

// What the browser cookie source needs of the WinINet URL cache.
class CUrlCache {
public:
    virtual ~CUrlCache() = default;

    // The entries whose names begin with `pattern`, a container prefix such as "cookie:".
    virtual std::unique_ptr<CUrlCacheSearch> Search(const std::wstring& pattern) = 0;

    // 0 when the entry is deleted; otherwise the failure's code, in which an entry marked for
    // deletion once it is unlocked (ERROR_ACCESS_DENIED), one still locked
    // (ERROR_SHARING_VIOLATION) and one already gone (ERROR_FILE_NOT_FOUND) are told apart.
    virtual DWORD DeleteEntry(const std::wstring& url) = 0;
};
