#include "cookies/CCookieSource.h"

CookieKind CCookieSource::GetKind() {
    CLock hold(m_lock);
    return m_kind;
}

bool CCookieSource::DeleteCookies(const CCookieList& cookies) {
    CDeleteOutcome outcome;
    return DeleteCookies(cookies, outcome);
}

bool CCookieSource::PrepareDelete(const CCookieList&, CDeleteOutcome&) {
    return true;
}

bool CCookieSource::EndDeleteBatch(CCookieList&, CStoreNotices&) noexcept {
    return true;
}

bool CCookieSource::EndDeleteBatch() noexcept {
    CCookieList undone;
    CStoreNotices failures;
    return EndDeleteBatch(undone, failures);
}

bool CCookieSource::ReadFreedStore(const CStoreNotice&, CCookieSink&) {
    return false;
}

bool CCookieSource::DeleteCookies(const CCookieList& cookies, CDeleteOutcome& outcome) {
    for (const CRefPtr<CCookie>& cookie : cookies) {
        if (!DeleteCookie(cookie)) {
            return false;
        }
        outcome.deleted.push_back(cookie);
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
