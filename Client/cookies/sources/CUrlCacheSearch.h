#pragma once

#include <windows.h>
#include <wininet.h>

// One walk over the URL-cache entries that match a pattern; the walk ends with the object.
class CUrlCacheSearch {
public:
    virtual ~CUrlCacheSearch() = default;

    // Reads the next entry (the first, on the first call) into `entry`, which has `size` bytes.
    // Returns 0 when one was read; ERROR_INSUFFICIENT_BUFFER with `size` set to the bytes
    // needed, and then the next call reads the same entry again; ERROR_NO_MORE_ITEMS at the
    // end; any other code for a failure.
    virtual DWORD Next(INTERNET_CACHE_ENTRY_INFOW* entry, DWORD& size) = 0;
};
