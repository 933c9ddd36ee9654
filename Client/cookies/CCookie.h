#pragma once

#include "cookies/CookieKind.h"
#include "cookies/CriticalSection.h"
#include "cookies/RefCount.h"

#include <windows.h>

#include <string>
#include <vector>

// One cookie as its source found it. Immutable after construction.
class CCookie : public CRefCount {
public:
    CookieKind GetKind();
    std::wstring GetFile();
    std::wstring GetHost();
    FILETIME GetCreated();
    FILETIME GetLastUsed();

protected:
    CCookie(CookieKind kind, std::wstring file, std::wstring host, FILETIME created,
            FILETIME lastUsed);

    CCriticalSection m_lock;

private:
    const CookieKind m_kind;
    const std::wstring m_file;
    const std::wstring m_host;
    const FILETIME m_created;
    const FILETIME m_lastUsed;
};

// A cookie of the browser's URL cache; its cache-entry URL is the handle to delete it by.
class CIECookie final : public CCookie {
public:
    static CRefPtr<CCookie> Create(std::wstring file, std::wstring host, FILETIME created,
                                   FILETIME lastUsed, std::wstring url);

    std::wstring GetUrl();

private:
    CIECookie(std::wstring file, std::wstring host, FILETIME created, FILETIME lastUsed,
              std::wstring url);

    const std::wstring m_url;
};

// A Flash local shared object (".sol" file).
class CFlashCookie final : public CCookie {
public:
    static CRefPtr<CCookie> Create(std::wstring file, std::wstring host, FILETIME created,
                                   FILETIME lastUsed);

private:
    using CCookie::CCookie;
};

using CCookieList = std::vector<CRefPtr<CCookie>>;
