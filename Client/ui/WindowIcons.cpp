#include "ui/WindowIcons.h"

#include "res/resource.h"

namespace {

// At the system's size for the kind: on a high-DPI display the caption's icon would otherwise
// be the 16-pixel image stretched.
HICON LoadProductIcon(HINSTANCE instance, int widthMetric, int heightMetric) {
    return static_cast<HICON>(::LoadImageW(instance, MAKEINTRESOURCEW(IDI_TOLLGATE), IMAGE_ICON,
                                           ::GetSystemMetrics(widthMetric),
                                           ::GetSystemMetrics(heightMetric), 0));
}

} // namespace

CWindowIcons::CWindowIcons(HINSTANCE instance)
    : m_large(LoadProductIcon(instance, SM_CXICON, SM_CYICON)),
      m_small(LoadProductIcon(instance, SM_CXSMICON, SM_CYSMICON)) {}

void CWindowIcons::Apply(HWND window) const noexcept {
    ::SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Large()));
    ::SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(Small()));
}
