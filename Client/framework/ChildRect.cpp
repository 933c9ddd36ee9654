#include "framework/ChildRect.h"

RECT ChildRect(HWND parent, HWND child) noexcept {
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(HWND_DESKTOP, parent, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
