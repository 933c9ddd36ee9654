#pragma once

#include "cookies/sources/CDatabaseCookieSource.h"

// The cookies of one browser of the Chromium family (Chrome with Chromium, Edge, Brave, Opera
// or Vivaldi, each with its channels): the table "cookies" of every profile's cookie database.
class CChromiumCookieSource final : public CDatabaseCookieSource {
public:
    // `kind` names the browser.
    static CRefPtr<CCookieSource> Create(CookieKind kind);
    static CRefPtr<CCookieSource> Create(CookieKind kind,
                                         std::shared_ptr<CBrowserProfiles> profiles);

protected:
    std::vector<CBrowserStore> FindStores(CCookieSink& sink) override;

private:
    CChromiumCookieSource(CookieKind kind, std::shared_ptr<CBrowserProfiles> profiles);

    // The profile in `folder`, below the browser's `userData`, when it holds a cookie database;
    // one that cannot be looked into is told to the sink as a skipped store.
    void AddProfile(const std::wstring& browser, const std::wstring& userData,
                    const std::wstring& folder, const std::wstring& profile,
                    std::vector<CBrowserStore>& stores, CCookieSink& sink);
};
