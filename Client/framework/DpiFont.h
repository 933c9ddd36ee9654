#pragma once

#include "framework/UniqueHandle.h"

#include <windows.h>

// A font of our own that follows the window's DPI: a model font, as the dialog manager made it
// for the DPI of its time, remade at each new DPI from that model, so that no rounding adds up.
class CDpiFont {
public:
    // Takes the model's face and size, with `weight` (0: the model's own).
    void SetModel(HFONT model, UINT modelDpi, LONG weight = 0) noexcept;
    // Remakes the font for `dpi`; the font made before stays when that fails.
    void SetDpi(UINT dpi) noexcept;

    HFONT Get() const noexcept { return m_font.Get(); }

private:
    LOGFONTW m_model{};
    UINT m_modelDpi = USER_DEFAULT_SCREEN_DPI;
    CFontHandle m_font;
};
