#include "cookies/CookieManager.h"

void CookieManager::DescribeCookies(const CCookieList& cookies, CCookieDescriptions& descriptions) {
    for (const CRefPtr<CCookieSource>& source : m_sources) {
        CCookieList own;
        for (const CRefPtr<CCookie>& cookie : cookies) {
            if (cookie->GetSource() == source.Get()) {
                own.push_back(cookie);
            }
        }
        if (!own.empty()) {
            source->DescribeCookies(own, descriptions);
        }
    }
}

void CookieManager::DescribeDomain(const CRefPtr<CCookieDomain>& domain,
                                   CCookieDescriptions& descriptions) {
    CCookieList cookies;
    domain->GetCookies(cookies);
    DescribeCookies(cookies, descriptions);
}
