#pragma once

#include "framework/SubclassedWindow.h"
#include "framework/UniqueHandle.h"

#include <windows.h>

#include <string>

// Activation reports a command to the parent instead of opening an address.
constexpr DWORD HLINK_COMMANDBUTTON = 0x00000004;

// Turns a static text of a dialog into a link drawn in the browser's link colour with an
// underlined font. The way the About box uses it, in command mode:
//
//     m_hyperLink.SetHyperLinkExtendedStyle(HLINK_COMMANDBUTTON);
//     m_hyperLink.SubclassWindow(::GetDlgItem(dialog, id));
//
// Pressing and releasing the mouse inside the label, or Space or Enter while the link has
// the focus, then sends the parent WM_COMMAND with the control's id (notification 0) and
// its handle. The link never opens anything itself and is never shown as visited.
class CHyperLink : public CSubclassedWindow {
public:
    CHyperLink() noexcept = default;
    ~CHyperLink() override;

    void SetHyperLinkExtendedStyle(DWORD style) noexcept { m_extendedStyle = style; }

    // Subclasses the static and reads its label, font and the link colours.
    bool SubclassWindow(HWND window);

    COLORREF GetLinkColor() const noexcept { return m_linkColor; }
    COLORREF GetVisitedColor() const noexcept { return m_visitedColor; }
    // In the control's client coordinates: the only part that reacts to the mouse.
    RECT GetLinkRect() const noexcept { return m_linkRect; }
    HFONT GetLinkFont() const noexcept { return m_linkFont.Get(); }

protected:
    bool ProcessWindowMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                              LRESULT& result) override;

private:
    void Init();
    void ReadLinkColors();
    void Paint();
    bool InLink(LPARAM point) const noexcept;
    void Activate();

    COLORREF m_linkColor = RGB(0, 0, 255);
    COLORREF m_visitedColor = RGB(128, 0, 128);
    DWORD m_extendedStyle = 0;
    std::wstring m_label;
    HCURSOR m_cursor = nullptr; // a shared system cursor: never destroyed
    CFontHandle m_linkFont;
    RECT m_linkRect{};
};

// Parses a link colour as the browser stores it: three decimal numbers separated by commas
// (red, green, blue), each taken modulo 256. False, leaving `colour` alone, when there are
// fewer than two commas or nothing after the second.
bool ParseLinkColor(const wchar_t* text, COLORREF& colour) noexcept;
