#pragma once

#include "cookies/CCookie.h"
#include "cookies/CCookieSource.h"
#include "ui/NoticeText.h"

#include <string>
#include <vector>

// The notices as the window words them, in order.
inline std::vector<std::wstring> NoticeTexts(const CStoreNotices& notices) {
    std::vector<std::wstring> texts;
    for (const CStoreNotice& notice : notices) {
        texts.push_back(NoticeText(notice));
    }
    return texts;
}

// Deletes through the source: why it left the cookies, as the window words it; empty when it
// deleted them.
inline std::wstring Refusal(CCookieSource& source, const CCookieList& cookies) {
    CDeleteOutcome outcome;
    return source.DeleteCookies(cookies, outcome) ? std::wstring()
                                                  : L"refused: " + RefusalText(outcome.refusal);
}

// Takes the cookies a source hands over, in order; the notices as the window words them, the
// skipped stores apart.
class CCookieRecorder final : public CCookieSink {
public:
    void AddCookie(const CRefPtr<CCookie>& cookie) override { cookies.push_back(cookie); }
    void AddNotice(const CStoreNotice& notice) override {
        facts.push_back(notice);
        (notice.skipped ? skipped : notices).push_back(NoticeText(notice));
    }

    std::vector<CRefPtr<CCookie>> cookies;
    CStoreNotices facts;
    std::vector<std::wstring> notices;
    std::vector<std::wstring> skipped;
};
