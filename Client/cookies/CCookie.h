#pragma once

#include "cookies/CookieKind.h"
#include "cookies/CriticalSection.h"
#include "cookies/RefCount.h"

#include <windows.h>

#include <string>
#include <vector>

class CCookieSource;

// One cookie as its source found it. Immutable once the manager has taken it from its source.
class CCookie : public CRefCount {
public:
    CookieKind GetKind();
    std::wstring GetFile();
    std::wstring GetHost();
    FILETIME GetCreated();
    FILETIME GetLastUsed();
    // The source that found the cookie, which alone describes it: several sources may share a
    // kind. Null until the manager takes the cookie.
    const CCookieSource* GetSource();
    void SetSource(const CCookieSource* source);

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
    // Only compared with the manager's sources, never called through: it holds no reference.
    const CCookieSource* m_source = nullptr;
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
