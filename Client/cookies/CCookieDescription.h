#pragma once

#include "cookies/CStoreNotice.h"
#include "cookies/CookieKind.h"

#include <windows.h>

#include <string>
#include <vector>

// One cookie as its store holds it, for the details dialog and the export. Never carries the
// cookie's value: values are often login tokens. Times are 0 when the store does not say.
struct CCookieDescription {
    CookieKind kind = CookieKind::IE;
    std::wstring name;
    std::wstring host;
    std::wstring path;
    FILETIME expires{};
    FILETIME lastUsed{};
    FILETIME created{};
    // The file that holds the cookie, or the browser's profile.
    std::wstring location;
    // Why the store could not be read for this cookie now; the other fields are then what the
    // load found. No problem when they are the store's own.
    CStoreNotice problem;
};

using CCookieDescriptions = std::vector<CCookieDescription>;
