#pragma once

#include "cookies/CookieKind.h"
#include "cookies/RefCount.h"
#include "cookies/SharedText.h"

#include <windows.h>

#include <string>
#include <vector>

class CCookieSource;

// One cookie as its source found it. Immutable once the manager has taken it from its source,
// so it is read on any thread without a lock; the thread that hands it to the manager sets
// its source before any other thread can see it.
class CCookie : public CRefCount {
public:
    CookieKind GetKind() const noexcept { return m_kind; }
    // Where the cookie is kept: its own file, or its store's database.
    virtual const std::wstring& GetFile() const noexcept = 0;
    const std::wstring& GetHost() const noexcept { return *m_host; }
    FILETIME GetCreated() const noexcept { return m_created; }
    FILETIME GetLastUsed() const noexcept { return m_lastUsed; }
    // The source that found the cookie, which alone describes it: several sources may share a
    // kind. Null until the manager takes the cookie.
    const CCookieSource* GetSource() const noexcept { return m_source; }
    void SetSource(const CCookieSource* source) noexcept { m_source = source; }

protected:
    CCookie(CookieKind kind, CSharedText host, FILETIME created, FILETIME lastUsed) noexcept;

private:
    const CookieKind m_kind;
    const CSharedText m_host;
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

    const std::wstring& GetFile() const noexcept override { return m_file; }
    const std::wstring& GetUrl() const noexcept { return m_url; }

private:
    CIECookie(std::wstring file, std::wstring host, FILETIME created, FILETIME lastUsed,
              std::wstring url);

    const std::wstring m_file;
    const std::wstring m_url;
};

// A Flash local shared object (".sol" file).
class CFlashCookie final : public CCookie {
public:
    static CRefPtr<CCookie> Create(std::wstring file, std::wstring host, FILETIME created,
                                   FILETIME lastUsed);

    const std::wstring& GetFile() const noexcept override { return m_file; }

private:
    CFlashCookie(std::wstring file, std::wstring host, FILETIME created, FILETIME lastUsed);

    const std::wstring m_file;
};

using CCookieList = std::vector<CRefPtr<CCookie>>;
