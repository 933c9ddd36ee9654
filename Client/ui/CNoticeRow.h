#pragma once

#include <windows.h>

#include <string>

// The main window's notice row: a line that tells what the load left out, wrapped to as many
// lines as the row holds and centred in its height, and at its right end a button, hidden
// until it is given a label.
class CNoticeRow {
public:
    // Makes the line across `row` and the hidden button at its right end, both in `font`.
    void Create(HWND parent, const RECT& row, HFONT font);
    HWND Line() const noexcept { return m_line; }
    HWND Button() const noexcept { return m_button; }
    // Written only when it changed: the status timer asks four times a second.
    void SetText(const std::wstring& text);
    // Shows the button with `label`, or hides it for an empty one. The row is laid out anew by
    // the next Place.
    void SetButton(const std::wstring& label);
    // Once the layout has put the line across the row: a shown button takes the row's right
    // end, as tall as `model` (a button of the row below) and at least as wide, and the line
    // keeps `gap` from it.
    void Place(const RECT& model, LONG gap);
    void Draw(const DRAWITEMSTRUCT& item) const;

    // Two lines of text in `font` at any scale, or a button of `buttonHeight`: what is taller.
    static LONG Height(HFONT font, UINT dpi, LONG buttonHeight);

private:
    HWND m_parent = nullptr;
    HWND m_line = nullptr;
    HWND m_button = nullptr;
    std::wstring m_label;
};
