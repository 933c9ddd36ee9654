#pragma once

#include "framework/UniqueHandle.h"

#include <windows.h>

// The product's large and small window icons at the system's sizes (32 and 16 pixels at
// 96 DPI), loaded once for the process.
// A failed load leaves a null icon: the windows then simply show none.
class CWindowIcons {
public:
    explicit CWindowIcons(HINSTANCE instance);

    HICON Large() const noexcept { return m_large.Get(); }
    HICON Small() const noexcept { return m_small.Get(); }

    // Sets both icons on a top-level window, large first.
    void Apply(HWND window) const noexcept;

private:
    // Declared so that the small icon is destroyed first, then the large one.
    CIconHandle m_large;
    CIconHandle m_small;
};
