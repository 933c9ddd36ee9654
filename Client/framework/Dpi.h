#pragma once

#include <windows.h>

// WM_DPICHANGED_AFTERPARENT: sent to every child once its top-level window has taken a new
// DPI (Windows 10 1703 on). The headers name it only for newer targets than ours.
constexpr UINT WM_DPI_CHANGED_AFTER_PARENT = 0x02E3;

// The DPI the window is drawn at: its monitor's under per-monitor awareness, else the
// system's. Systems before Windows 10 have only the system's.
UINT WindowDpi(HWND window) noexcept;

// A length given at 96 DPI, at `dpi`.
inline int ScaleForDpi(int pixels, UINT dpi) noexcept {
    return ::MulDiv(pixels, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI);
}
