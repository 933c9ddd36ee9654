#include "ui/TextRoom.h"

#include "framework/DpiFont.h"

#include <algorithm>

namespace {

// The screen's device context with `font` selected, given back when it goes.
class CScreenText {
public:
    explicit CScreenText(HFONT font) noexcept
        : m_dc(::GetDC(nullptr)),
          m_previous(m_dc != nullptr ? ::SelectObject(m_dc, font) : nullptr) {}
    ~CScreenText() {
        if (m_dc != nullptr) {
            ::SelectObject(m_dc, m_previous);
            ::ReleaseDC(nullptr, m_dc);
        }
    }
    CScreenText(const CScreenText&) = delete;
    CScreenText& operator=(const CScreenText&) = delete;

    HDC Get() const noexcept { return m_dc; }

private:
    HDC m_dc;
    HGDIOBJ m_previous;
};

// A length measured at `from` DPI, at `to`, never rounded down.
LONG ScaledUp(LONG pixels, UINT to, UINT from) {
    return static_cast<LONG>((static_cast<long long>(pixels) * to + from - 1) / from);
}

} // namespace

SIZE TextSize(HFONT font, const std::wstring& text, UINT format, LONG width) {
    const CScreenText screen(font);
    RECT rect{0, 0, width, 0};
    if (screen.Get() == nullptr) {
        return {};
    }
    ::DrawTextW(screen.Get(), text.c_str(), static_cast<int>(text.size()), &rect,
                format | DT_CALCRECT);
    return {rect.right - rect.left, rect.bottom - rect.top};
}

SIZE WidestAtEveryScale(HFONT model, UINT dpi, const std::wstring& text) {
    // 100 % to 300 %, the scales Windows offers.
    constexpr UINT scales[] = {96, 120, 144, 168, 192, 216, 240, 288};
    CDpiFont font;
    font.SetModel(model, dpi);
    SIZE widest = TextSize(font.Get(), text, DT_SINGLELINE | DT_NOPREFIX);
    for (UINT scale : scales) {
        font.SetDpi(scale);
        const SIZE size = TextSize(font.Get(), text, DT_SINGLELINE | DT_NOPREFIX);
        widest.cx = std::max(widest.cx, ScaledUp(size.cx, dpi, scale));
        widest.cy = std::max(widest.cy, ScaledUp(size.cy, dpi, scale));
    }
    return widest;
}
