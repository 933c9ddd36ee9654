#include "ui/WindowIcons.h"

#include "res/resource.h"

namespace {

HICON LoadProductIcon(HINSTANCE instance, int size) {
    return static_cast<HICON>(
        ::LoadImageW(instance, MAKEINTRESOURCEW(IDI_TOLLGATE), IMAGE_ICON, size, size, 0));
}

} // namespace

CWindowIcons::CWindowIcons(HINSTANCE instance)
    : m_large(LoadProductIcon(instance, 32)), m_small(LoadProductIcon(instance, 16)) {}

void CWindowIcons::Apply(HWND window) const noexcept {
    ::SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(Large()));
    ::SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(Small()));
}
