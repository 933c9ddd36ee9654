#pragma once

#include <windows.h>

#include <vector>

// Keeps child windows where a resizable window's template put them. Each child is recorded at
// its home rectangle (in the parent's client coordinates) with the edges it follows: a child
// anchored right or bottom moves with that edge, one that grows stretches with it. At the
// parent's home client size every child stands exactly at its home.
class CAnchoredLayout {
public:
    enum Anchor : unsigned {
        Left = 0,
        Right = 1,
        Bottom = 2,
        GrowWidth = 4,
        GrowHeight = 8,
    };

    // Takes the parent's current client size as its home size.
    void SetParent(HWND parent) noexcept;
    // Records the child where it stands now. A null child is left out.
    void Add(HWND child, unsigned anchors);
    // Places every child for the parent's client size.
    void Apply(int clientWidth, int clientHeight) const noexcept;
    // After a DPI change: every home, and the home size, in the new DPI's pixels.
    void Rescale(int newDpi, int oldDpi) noexcept;

    SIZE HomeSize() const noexcept { return m_home; }

private:
    struct CChild {
        HWND window;
        RECT home;
        unsigned anchors;
    };

    HWND m_parent = nullptr;
    SIZE m_home{};
    std::vector<CChild> m_children;
};
