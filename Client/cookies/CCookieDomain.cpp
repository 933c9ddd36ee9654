#include "cookies/CCookieDomain.h"

#include "cookies/FileTime.h"
#include "res/resource.h"
#include "ui/StringLoader.h"

#include <cwchar>

CRefPtr<CCookieDomain> CCookieDomain::Create(std::wstring name) {
    return CRefPtr<CCookieDomain>(new CCookieDomain(std::move(name)));
}

std::wstring CCookieDomain::GetName() {
    CLock hold(m_lock);
    return m_name;
}

std::uint32_t CCookieDomain::GetKinds() {
    CLock hold(m_lock);
    return m_kinds;
}

std::wstring CCookieDomain::GetTypeText() {
    CLock hold(m_lock);
    return TypeTextForKinds(m_kinds);
}

FILETIME CCookieDomain::GetCreated() {
    CLock hold(m_lock);
    return m_created;
}

FILETIME CCookieDomain::GetLastUsed() {
    CLock hold(m_lock);
    return m_lastUsed;
}

std::size_t CCookieDomain::GetCookieCount() {
    CLock hold(m_lock);
    return m_cookies.size();
}

void CCookieDomain::GetCookies(CCookieList& cookies) {
    CLock hold(m_lock);
    cookies = m_cookies;
}

bool CCookieDomain::IsAuthorized() {
    CLock hold(m_lock);
    return m_authorized;
}

void CCookieDomain::SetAuthorized() {
    CLock hold(m_lock);
    m_authorized = true;
}

void CCookieDomain::AddCookie(const CRefPtr<CCookie>& cookie) {
    const CookieKind kind = cookie->GetKind();
    const std::uint64_t created = ToUInt64(cookie->GetCreated());
    const FILETIME lastUsed = cookie->GetLastUsed();

    CLock hold(m_lock);
    m_kinds |= KindBit(kind);
    // Zero is "no time known": it neither lowers the earliest created time nor resets it,
    // so the result does not depend on the order in which the cookies arrive.
    if (created != 0 && (ToUInt64(m_created) == 0 || created < ToUInt64(m_created))) {
        m_created = ToFileTime(created);
    }
    if (ToUInt64(lastUsed) > ToUInt64(m_lastUsed)) {
        m_lastUsed = lastUsed;
    }
    m_cookies.push_back(cookie);
}

std::wstring TypeTextForKinds(std::uint32_t kinds) {
    if (kinds == KindBit(CookieKind::Flash)) {
        return LoadExpandedString(IDS_TYPE_FLASH);
    }
    if (kinds == KindBit(CookieKind::IE)) {
        return LoadExpandedString(IDS_TYPE_IE);
    }
    return LoadExpandedString(IDS_TYPE_FLASH) + L", " + LoadExpandedString(IDS_TYPE_IE);
}
