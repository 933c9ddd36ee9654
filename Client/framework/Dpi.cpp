#include "framework/Dpi.h"

UINT WindowDpi(HWND window) noexcept {
    using CGetDpiForWindow = UINT(WINAPI*)(HWND);
    const auto getDpiForWindow = reinterpret_cast<CGetDpiForWindow>(reinterpret_cast<void*>(
        ::GetProcAddress(::GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow != nullptr) {
        return getDpiForWindow(window);
    }
    HDC screen = ::GetDC(nullptr);
    const int dpi = ::GetDeviceCaps(screen, LOGPIXELSX);
    ::ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}
