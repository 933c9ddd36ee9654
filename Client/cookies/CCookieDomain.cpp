#include "cookies/CCookieDomain.h"

#include "cookies/FileTime.h"
#include "res/resource.h"
#include "res/StringLoader.h"

#include <cwchar>

CRefPtr<CCookieDomain> CCookieDomain::Create(std::wstring name) {
    return CRefPtr<CCookieDomain>(new CCookieDomain(std::move(name)));
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

bool CCookieDomain::IsDeleted() {
    CLock hold(m_lock);
    return m_deleted;
}

void CCookieDomain::SetDeleted() {
    CLock hold(m_lock);
    m_deleted = true;
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
    // In the alphabetical order of the names.
    constexpr struct {
        CookieKind kind;
        UINT name;
    } names[] = {
        {CookieKind::Brave, IDS_TYPE_BRAVE}, {CookieKind::Chrome, IDS_TYPE_CHROME},
        {CookieKind::Edge, IDS_TYPE_EDGE},   {CookieKind::Firefox, IDS_TYPE_FIREFOX},
        {CookieKind::Flash, IDS_TYPE_FLASH}, {CookieKind::IE, IDS_TYPE_IE},
        {CookieKind::Opera, IDS_TYPE_OPERA}, {CookieKind::Vivaldi, IDS_TYPE_VIVALDI},
    };
    if (kinds == 0) {
        // A domain without cookies has always read as both of the first two kinds.
        kinds = KindBit(CookieKind::Flash) | KindBit(CookieKind::IE);
    }
    std::wstring text;
    for (const auto& each : names) {
        if ((kinds & KindBit(each.kind)) != 0) {
            text += (text.empty() ? L"" : L", ") + LoadExpandedString(each.name);
        }
    }
    return text;
}
