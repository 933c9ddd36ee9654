#pragma once

#include "cookies/sources/CDatabaseCookieSource.h"

// Firefox's cookies: the table "moz_cookies" of the "cookies.sqlite" of every profile that
// "profiles.ini" lists.
class CFirefoxCookieSource final : public CDatabaseCookieSource {
public:
    static CRefPtr<CCookieSource> Create();
    static CRefPtr<CCookieSource> Create(std::shared_ptr<CBrowserProfiles> profiles);

protected:
    std::vector<CBrowserStore> FindStores(CCookieSink& sink) override;

private:
    explicit CFirefoxCookieSource(std::shared_ptr<CBrowserProfiles> profiles);
};
