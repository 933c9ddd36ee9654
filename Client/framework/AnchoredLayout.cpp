#include "framework/AnchoredLayout.h"

#include "framework/ChildRect.h"
#include "framework/Dpi.h"

#include <algorithm>

void CAnchoredLayout::SetParent(HWND parent, UINT dpi) noexcept {
    m_parent = parent;
    m_homeDpi = dpi;
    m_dpi = dpi;
    RECT client{};
    ::GetClientRect(parent, &client);
    m_home = {client.right, client.bottom};
}

void CAnchoredLayout::Add(HWND child, unsigned anchors) {
    if (child == nullptr || Contains(child)) {
        return;
    }
    RECT rect = ChildRect(m_parent, child);
    for (LONG* edge : {&rect.left, &rect.top, &rect.right, &rect.bottom}) {
        *edge = ScaleBetweenDpis(*edge, m_homeDpi, m_dpi);
    }
    m_children.push_back({child, rect, anchors});
}

void CAnchoredLayout::AddLike(HWND child, HWND model) {
    const auto found = std::find_if(m_children.begin(), m_children.end(),
                                    [model](const CChild& each) { return each.window == model; });
    if (child != nullptr && found != m_children.end() && !Contains(child)) {
        m_children.push_back({child, found->home, found->anchors});
    }
}

bool CAnchoredLayout::Contains(HWND child) const noexcept {
    return std::any_of(m_children.begin(), m_children.end(),
                       [child](const CChild& each) { return each.window == child; });
}

SIZE CAnchoredLayout::HomeSize() const noexcept {
    return {ScaleBetweenDpis(m_home.cx, m_dpi, m_homeDpi),
            ScaleBetweenDpis(m_home.cy, m_dpi, m_homeDpi)};
}

RECT CAnchoredLayout::Scaled(const RECT& home) const noexcept {
    return {ScaleBetweenDpis(home.left, m_dpi, m_homeDpi),
            ScaleBetweenDpis(home.top, m_dpi, m_homeDpi),
            ScaleBetweenDpis(home.right, m_dpi, m_homeDpi),
            ScaleBetweenDpis(home.bottom, m_dpi, m_homeDpi)};
}

void CAnchoredLayout::Apply(int clientWidth, int clientHeight) const noexcept {
    // Never smaller than home: below it the controls would overlap.
    const SIZE home = HomeSize();
    const int dx = clientWidth > home.cx ? clientWidth - home.cx : 0;
    const int dy = clientHeight > home.cy ? clientHeight - home.cy : 0;
    HDWP positions = ::BeginDeferWindowPos(static_cast<int>(m_children.size()));
    for (const CChild& child : m_children) {
        RECT rect = Scaled(child.home);
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
        // Under Wine the pixels a moved child would take along from its old place are blank
        // once the window has grown: each child draws itself anew instead.
        const UINT flags = SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOCOPYBITS;
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
