#pragma once

#include <windows.h>

#include <string>
#include <vector>

// One record of the browser's cookie file, without its value.
struct CCookieFileRecord {
    std::wstring name;
    std::wstring host;
    std::wstring path;
    DWORD flags = 0;
    FILETIME expires{};
    FILETIME created{};
};

// No browser writes a cookie file near this size; a larger one is not read.
constexpr std::size_t LargestCookieFile = 1024 * 1024;

// The browser's cookie file: per cookie the lines name, value, host and path ("host/path"),
// flags, expiry as low and high 32-bit halves, creation likewise, then "*". Lines end in a
// line feed, optionally after a carriage return; texts are in the system's code page. False
// when the text is not a whole sequence of such records (or holds none); `records` is then
// left empty.
bool ParseCookieFile(const std::string& text, std::vector<CCookieFileRecord>& records);
