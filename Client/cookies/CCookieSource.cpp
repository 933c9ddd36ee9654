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

void CCookieSource::DescribeCookies(const CCookieList& cookies, CCookieDescriptions& descriptions) {
    for (const CRefPtr<CCookie>& cookie : cookies) {
        descriptions.push_back(DescribeRecord(*cookie));
    }
}

CCookieDescription CCookieSource::DescribeRecord(CCookie& cookie) {
    CCookieDescription description;
    description.kind = cookie.GetKind();
    description.host = cookie.GetHost();
    description.lastUsed = cookie.GetLastUsed();
    description.created = cookie.GetCreated();
    description.location = cookie.GetFile();
    return description;
}
