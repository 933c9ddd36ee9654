#pragma once

#include "cookies/CCookieDescription.h"
#include "cookies/FileTime.h"
#include "ui/NoticeText.h"

#include <algorithm>
#include <string>
#include <vector>

// A description as one line, to compare every field at once: kind bit, name, host, path,
// expiry, last use and creation (FILETIME ticks), location, problem.
inline std::wstring DescriptionText(const CCookieDescription& cookie) {
    return std::to_wstring(KindBit(cookie.kind)) + L"|" + cookie.name + L"|" + cookie.host + L"|" +
           cookie.path + L"|" + std::to_wstring(ToUInt64(cookie.expires)) + L"|" +
           std::to_wstring(ToUInt64(cookie.lastUsed)) + L"|" +
           std::to_wstring(ToUInt64(cookie.created)) + L"|" + cookie.location + L"|" +
           ProblemText(cookie.problem);
}

// Every description's line, sorted.
inline std::vector<std::wstring> DescriptionTexts(const CCookieDescriptions& cookies) {
    std::vector<std::wstring> texts;
    for (const CCookieDescription& cookie : cookies) {
        texts.push_back(DescriptionText(cookie));
    }
    std::sort(texts.begin(), texts.end());
    return texts;
}
