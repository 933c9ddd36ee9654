#pragma once

#include "cookies/CCookieSource.h"

#include <functional>
#include <set>
#include <string>
#include <vector>

// A source whose cookies, failures and deletions the test decides.
class CFakeCookieSource final : public CCookieSource {
public:
    static CRefPtr<CFakeCookieSource> Create(CookieKind kind) {
        return CRefPtr<CFakeCookieSource>(new CFakeCookieSource(kind));
    }

    // Handed over by Enumerate, in order, unless `enumerate` is set.
    std::vector<CRefPtr<CCookie>> cookies;
    std::function<void(CCookieSink&)> enumerate;
    // Deleting a cookie with one of these files fails.
    std::set<std::wstring> undeletable;
    std::vector<std::wstring> deleted;
    // Runs inside each delete, as a load that goes on meanwhile would.
    std::function<void()> whileDeleting;
    // The files of the cookies it was asked to describe.
    std::vector<std::wstring> described;
    // Runs in Prepare when set, to fail it.
    std::function<void()> prepare;
    int prepared = 0;
    int enumerated = 0;

    bool DeleteCookie(const CRefPtr<CCookie>& cookie) override {
        deleted.push_back(cookie->GetFile());
        if (whileDeleting) {
            whileDeleting();
        }
        return undeletable.count(cookie->GetFile()) == 0;
    }
    void Prepare() override {
        ++prepared;
        if (prepare) {
            prepare();
        }
    }
    void Enumerate(CCookieSink& sink) override {
        ++enumerated;
        if (enumerate) {
            enumerate(sink);
            return;
        }
        for (const auto& cookie : cookies) {
            sink.AddCookie(cookie);
        }
    }

    void DescribeCookies(const CCookieList& asked, CCookieDescriptions& descriptions) override {
        for (const auto& cookie : asked) {
            described.push_back(cookie->GetFile());
        }
        CCookieSource::DescribeCookies(asked, descriptions);
    }

private:
    explicit CFakeCookieSource(CookieKind kind) : CCookieSource(kind) {}
};
