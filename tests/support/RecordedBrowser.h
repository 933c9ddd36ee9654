#pragma once

#include <windows.h>

#include <string>
#include <vector>

// Test programs link this in place of the shell request that starts the browser: every
// request is recorded and answered with the result set here (42, "started", by default).
void SetBrowserResult(INT_PTR result);
std::vector<std::wstring> TakeBrowserRequests();
