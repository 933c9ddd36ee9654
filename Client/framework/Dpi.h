#pragma once

#include <windows.h>

// The DPI the window is drawn at: its monitor's under per-monitor awareness, else the
// system's. Systems before Windows 10 have only the system's.
UINT WindowDpi(HWND window) noexcept;

// A length given at 96 DPI, at `dpi`.
inline int ScaleForDpi(int pixels, UINT dpi) noexcept {
    return ::MulDiv(pixels, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}

// A length measured at `from` DPI, at `to`.
inline LONG ScaleBetweenDpis(LONG pixels, UINT to, UINT from) noexcept {
    return ::MulDiv(pixels, static_cast<int>(to), static_cast<int>(from));
}
