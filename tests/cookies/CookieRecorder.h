#pragma once

#include "cookies/CCookie.h"
#include "cookies/CCookieSource.h"

#include <string>
#include <vector>

// Takes the cookies a source hands over, in order.
class CCookieRecorder final : public CCookieSink {
public:
    void AddCookie(const CRefPtr<CCookie>& cookie) override { cookies.push_back(cookie); }
    void AddNotice(const std::wstring& notice) override { notices.push_back(notice); }
    void SkipStore(const std::wstring& notice) override { skipped.push_back(notice); }

    std::vector<CRefPtr<CCookie>> cookies;
    std::vector<std::wstring> notices;
    std::vector<std::wstring> skipped;
};
