#pragma once

#include "cookies/CStoreNotice.h"

#include <string>
#include <vector>

// The browser as the Type column names it: "Chrome", "Firefox".
std::wstring BrowserName(const CStoreNotice& notice);

// "Chrome", "Chrome and Edge", "Chrome, Edge and Firefox".
std::wstring NamesText(const std::vector<std::wstring>& names);

// Each browser named once, in the notices' order.
std::vector<std::wstring> BrowserNames(const CStoreNotices& notices);

// What a load left out, for a person at the window.
std::wstring NoticeText(const CStoreNotice& notice);

// Why the details show a cookie as the load found it; empty when they need not.
std::wstring ProblemText(const CStoreNotice& notice);

// Why a delete left cookies where they were; for the window and the console alike.
std::wstring RefusalText(const CStoreNotice& notice);
