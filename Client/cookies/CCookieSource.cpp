#include "cookies/CCookieSource.h"

CookieKind CCookieSource::GetKind() {
    CLock hold(m_lock);
    return m_kind;
}

bool CCookieSource::DeleteCookies(const CCookieList& cookies) {
    for (const CRefPtr<CCookie>& cookie : cookies) {
        if (!DeleteCookie(cookie)) {
            return false;
        }
    }
    return true;
}
