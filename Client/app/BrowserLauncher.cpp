#include "app/BrowserLauncher.h"

#include <shellapi.h>

INT_PTR StartBrowser(const std::wstring& url) {
    // By its program name, so the page opens in Internet Explorer whatever the default
    // browser is.
    return reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(nullptr, L"open", L"iexplore.exe", url.c_str(), nullptr, SW_SHOWNORMAL));
}
