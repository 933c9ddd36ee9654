#pragma once

#include "cookies/sources/CUrlCache.h"

// The URL cache of WinINet.
class CWin32UrlCache final : public CUrlCache {
public:
    std::unique_ptr<CUrlCacheSearch> Search(const std::wstring& pattern) override;
    DWORD DeleteEntry(const std::wstring& url) override;
};
