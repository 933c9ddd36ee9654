#pragma once

#include <windows.h>

#include <vector>

// Keeps child windows where a resizable window's template put them. Each child is recorded at
// its home rectangle (in the parent's client coordinates) with the edges it follows: a child
// anchored right or bottom moves with that edge, one that grows stretches with it. At the
// parent's home client size every child stands exactly at its home. Homes are kept at the DPI
// they were recorded at and scaled to the parent's DPI of the moment, so that any number of DPI
// changes brings every child back to the very pixel of its home.
class CAnchoredLayout {
public:
    enum Anchor : unsigned {
        Left = 0,
        Right = 1,
        Bottom = 2,
        GrowWidth = 4,
        GrowHeight = 8,
    };

    // Takes the parent's current client size as its home size, at `dpi`.
    void SetParent(HWND parent, UINT dpi) noexcept;
    // Records the child where it stands now, at the current DPI. A null child, or one recorded
    // already, is left out.
    void Add(HWND child, unsigned anchors);
    // Records the child with the home and anchors of `model`, which was recorded before.
    void AddLike(HWND child, HWND model);
    bool Contains(HWND child) const noexcept;
    // The DPI the parent is drawn at from now on.
    void SetDpi(UINT dpi) noexcept { m_dpi = dpi; }
    // Places every child for the parent's client size.
    void Apply(int clientWidth, int clientHeight) const noexcept;

    // The home size at the current DPI.
    SIZE HomeSize() const noexcept;

private:
    struct CChild {
        HWND window;
        RECT home;
        unsigned anchors;
    };

    RECT Scaled(const RECT& home) const noexcept;

    HWND m_parent = nullptr;
    // The DPI the homes were recorded at, and the parent's now.
    UINT m_homeDpi = USER_DEFAULT_SCREEN_DPI;
    UINT m_dpi = USER_DEFAULT_SCREEN_DPI;
    SIZE m_home{};
    std::vector<CChild> m_children;
};
