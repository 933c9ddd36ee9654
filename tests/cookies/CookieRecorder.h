#pragma once

#include "cookies/CCookie.h"
#include "cookies/CCookieSource.h"

#include <vector>

// Takes the cookies a source hands over, in order.
class CCookieRecorder final : public CCookieSink {
public:
    void AddCookie(const CRefPtr<CCookie>& cookie) override { cookies.push_back(cookie); }

    std::vector<CRefPtr<CCookie>> cookies;
};
