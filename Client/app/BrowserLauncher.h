#pragma once

#include <windows.h>

#include <string>

// Asks the shell to start Internet Explorer on `url` and returns the shell's result
// (greater than 32 when it started). Linked into Tollgate.exe only: test programs link a
// stand-in that records the request, so no test ever starts a browser.
INT_PTR StartBrowser(const std::wstring& url);
