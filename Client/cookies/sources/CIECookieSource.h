#pragma once

#include "cookies/CCookieSource.h"
#include "cookies/sources/CFileSystem.h"
#include "cookies/sources/CUrlCache.h"

#include <memory>

// The browser's cookies: the URL-cache entries whose names begin with "cookie:".
class CIECookieSource final : public CCookieSource {
public:
    // Over the real URL cache and file system.
    static CRefPtr<CCookieSource> Create();
    static CRefPtr<CCookieSource> Create(std::shared_ptr<CUrlCache> cache,
                                         std::shared_ptr<CFileSystem> files);

    using CCookieSource::DeleteCookies;

    bool DeleteCookie(const CRefPtr<CCookie>& cookie) override;
    bool DeleteCookies(const CCookieList& cookies, CDeleteOutcome& outcome) override;
    void Prepare() override {}
    void Enumerate(CCookieSink& sink) override;
    // One record per cookie in the entry's file; an entry whose file is missing or does not
    // parse is listed once, with what its record and its URL tell.
    void DescribeCookies(const CCookieList& cookies, CCookieDescriptions& descriptions) override;

private:
    CIECookieSource(std::shared_ptr<CUrlCache> cache, std::shared_ptr<CFileSystem> files);

    // Sets `timesUnread` when the entry's file is there but its times could not be read.
    CRefPtr<CCookie> CookieFromEntry(const INTERNET_CACHE_ENTRY_INFOW& entry, bool& timesUnread);

    const std::shared_ptr<CUrlCache> m_cache;
    const std::shared_ptr<CFileSystem> m_files;
};
