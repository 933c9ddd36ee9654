#pragma once

#include "cookies/CCookie.h"
#include "cookies/CriticalSection.h"
#include "cookies/RefCount.h"

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

// All cookies that share one domain key: one row for the user. Created on the loading thread
// and read on the window thread, so every accessor of what changes holds the domain's own lock.
class CCookieDomain final : public CRefCount {
public:
    static CRefPtr<CCookieDomain> Create(std::wstring name);

    // The name never changes, so it needs no lock: rows compare names thousands of times.
    const std::wstring& GetName() const noexcept { return m_name; }
    std::uint32_t GetKinds();
    std::wstring GetTypeText();
    FILETIME GetCreated();
    FILETIME GetLastUsed();
    std::size_t GetCookieCount();
    void GetCookies(CCookieList& cookies);
    bool IsAuthorized();
    void SetAuthorized();
    // Its cookies are deleted and the manager lists it no more: a message about it that
    // arrives late adds no row. A site that comes back comes as a new domain.
    bool IsDeleted();
    void SetDeleted();

    void AddCookie(const CRefPtr<CCookie>& cookie);

private:
    explicit CCookieDomain(std::wstring name) : m_name(std::move(name)) {}

    CCriticalSection m_lock;
    const std::wstring m_name;
    std::uint32_t m_kinds = 0;
    FILETIME m_created{};
    FILETIME m_lastUsed{};
    bool m_authorized = false;
    bool m_deleted = false;
    CCookieList m_cookies;
};

// The Type column's text for a kinds mask: the names of its kinds in alphabetical order,
// joined with ", ".
std::wstring TypeTextForKinds(std::uint32_t kinds);
