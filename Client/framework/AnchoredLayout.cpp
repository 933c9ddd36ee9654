#include "framework/AnchoredLayout.h"

void CAnchoredLayout::SetParent(HWND parent) noexcept {
    m_parent = parent;
    RECT client{};
    ::GetClientRect(parent, &client);
    m_home = {client.right, client.bottom};
}

void CAnchoredLayout::Add(HWND child, unsigned anchors) {
    if (child == nullptr) {
        return;
    }
    RECT rect{};
    ::GetWindowRect(child, &rect);
    ::MapWindowPoints(HWND_DESKTOP, m_parent, reinterpret_cast<POINT*>(&rect), 2);
    m_children.push_back({child, rect, anchors});
}

void CAnchoredLayout::Apply(int clientWidth, int clientHeight) const noexcept {
    // Never smaller than home: below it the controls would overlap.
    const int dx = clientWidth > m_home.cx ? clientWidth - m_home.cx : 0;
    const int dy = clientHeight > m_home.cy ? clientHeight - m_home.cy : 0;
    HDWP positions = ::BeginDeferWindowPos(static_cast<int>(m_children.size()));
    for (const CChild& child : m_children) {
        RECT rect = child.home;
        if ((child.anchors & Right) != 0) {
            ::OffsetRect(&rect, dx, 0);
        }
        if ((child.anchors & Bottom) != 0) {
            ::OffsetRect(&rect, 0, dy);
        }
        if ((child.anchors & GrowWidth) != 0) {
            rect.right += dx;
        }
        if ((child.anchors & GrowHeight) != 0) {
            rect.bottom += dy;
        }
        const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
        if (positions != nullptr) {
            positions = ::DeferWindowPos(positions, child.window, nullptr, rect.left, rect.top,
                                         rect.right - rect.left, rect.bottom - rect.top, flags);
        } else {
            ::SetWindowPos(child.window, nullptr, rect.left, rect.top, rect.right - rect.left,
                           rect.bottom - rect.top, flags);
        }
    }
    if (positions != nullptr) {
        ::EndDeferWindowPos(positions);
    }
}

void CAnchoredLayout::Rescale(int newDpi, int oldDpi) noexcept {
    if (newDpi == oldDpi || oldDpi == 0) {
        return;
    }
    const auto scale = [newDpi, oldDpi](LONG& value) { value = ::MulDiv(value, newDpi, oldDpi); };
    scale(m_home.cx);
    scale(m_home.cy);
    for (CChild& child : m_children) {
        scale(child.home.left);
        scale(child.home.top);
        scale(child.home.right);
        scale(child.home.bottom);
    }
}
