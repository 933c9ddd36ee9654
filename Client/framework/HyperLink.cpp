#include "framework/HyperLink.h"

#include "framework/WindowText.h"

#include <commctrl.h>

#include <cwchar>

namespace {

constexpr wchar_t settingsKey[] = L"Software\\Microsoft\\Internet Explorer\\Settings";
// Three numbers of up to three digits and two commas.
constexpr DWORD colorTextLimit = 11;

void ReadColorValue(HKEY key, const wchar_t* name, COLORREF& colour) noexcept {
    wchar_t text[colorTextLimit + 1] = {};
    DWORD type = 0;
    DWORD size = sizeof text - sizeof(wchar_t);
    if (::RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(text), &size) !=
            ERROR_SUCCESS ||
        (type != REG_SZ && type != REG_EXPAND_SZ)) {
        return;
    }
    ParseLinkColor(text, colour);
}

} // namespace

bool ParseLinkColor(const wchar_t* text, COLORREF& colour) noexcept {
    const wchar_t* green = std::wcschr(text, L',');
    const wchar_t* blue = green ? std::wcschr(green + 1, L',') : nullptr;
    if (blue == nullptr || blue[1] == L'\0') {
        return false;
    }
    const auto part = [](const wchar_t* from) {
        return static_cast<BYTE>(std::wcstol(from, nullptr, 10) & 0xFF);
    };
    colour = RGB(part(text), part(green + 1), part(blue + 1));
    return true;
}

CHyperLink::~CHyperLink() {
    UnsubclassWindow();
}

bool CHyperLink::SubclassWindow(HWND window) {
    if (!CSubclassedWindow::SubclassWindow(window)) {
        return false;
    }
    Init();
    return true;
}

void CHyperLink::Init() {
    // Without SS_NOTIFY a static lets the mouse through to its parent.
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, ::GetWindowLongPtrW(m_hWnd, GWL_STYLE) | SS_NOTIFY);
    m_cursor = ::LoadCursorW(nullptr, IDC_HAND);

    auto parentFont =
        reinterpret_cast<HFONT>(::SendMessageW(::GetParent(m_hWnd), WM_GETFONT, 0, 0));
    if (parentFont == nullptr) {
        parentFont = static_cast<HFONT>(::GetStockObject(SYSTEM_FONT));
    }
    LOGFONTW font{};
    ::GetObjectW(parentFont, sizeof font, &font);
    font.lfUnderline = TRUE;
    m_linkFont.Reset(::CreateFontIndirectW(&font));

    m_label = GetWindowString(m_hWnd);

    ::GetClientRect(m_hWnd, &m_linkRect);
    if (HDC dc = ::GetDC(m_hWnd)) {
        const HGDIOBJ old = ::SelectObject(dc, m_linkFont.Get());
        ::DrawTextW(dc, m_label.c_str(), -1, &m_linkRect, DT_LEFT | DT_WORDBREAK | DT_CALCRECT);
        ::SelectObject(dc, old);
        ::ReleaseDC(m_hWnd, dc);
    }

    // A pop-up's owner is the static's top-level window, the dialog, which destroys the tip
    // with itself before the static goes: the link keeps no handle to destroy again.
    HWND tooltip = ::CreateWindowExW(0, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                     CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                     m_hWnd, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    if (tooltip != nullptr) {
        // In command mode there is no address, so the tip has no text to show.
        TTTOOLINFOW tool{};
        tool.cbSize = sizeof tool;
        tool.uFlags = TTF_SUBCLASS;
        tool.hwnd = m_hWnd;
        tool.rect = m_linkRect;
        tool.lpszText = const_cast<wchar_t*>(L"");
        ::SendMessageW(tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
        ::SendMessageW(tooltip, TTM_ACTIVATE, TRUE, 0);
    }
    ReadLinkColors();
}

void CHyperLink::ReadLinkColors() {
    CRegKey key;
    if (::RegOpenKeyExW(HKEY_CURRENT_USER, settingsKey, 0, KEY_READ, key.Receive()) !=
        ERROR_SUCCESS) {
        return;
    }
    ReadColorValue(key.Get(), L"Anchor Color", m_linkColor);
    ReadColorValue(key.Get(), L"Anchor Color Visited", m_visitedColor);
}

bool CHyperLink::ProcessWindowMessage(HWND, UINT message, WPARAM wParam, LPARAM lParam,
                                      LRESULT& result) {
    switch (message) {
    case WM_PAINT:
        Paint();
        break;
    case WM_ERASEBKGND:
        // Painted whole in WM_PAINT.
        result = TRUE;
        return true;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        ::InvalidateRect(m_hWnd, nullptr, TRUE);
        break;
    case WM_LBUTTONDOWN:
        if (InLink(lParam)) {
            ::SetFocus(m_hWnd);
            ::SetCapture(m_hWnd);
        }
        break;
    case WM_LBUTTONDBLCLK:
        // The second press of a double-click: the first click has acted already, and the
        // static would report STN_DBLCLK with the link's id.
        break;
    case WM_LBUTTONUP:
        if (::GetCapture() == m_hWnd) {
            ::ReleaseCapture();
            if (InLink(lParam)) {
                Activate();
            }
        }
        break;
    case WM_SETCURSOR: {
        POINT point{};
        ::GetCursorPos(&point);
        ::ScreenToClient(m_hWnd, &point);
        if (!::PtInRect(&m_linkRect, point)) {
            return false;
        }
        ::SetCursor(m_cursor);
        result = TRUE;
        return true;
    }
    case WM_CHAR:
        if (wParam == VK_SPACE || wParam == VK_RETURN) {
            Activate();
        }
        break;
    case WM_GETDLGCODE: {
        // Enter is the link's, not the dialog's default button.
        const auto* key = reinterpret_cast<const MSG*>(lParam);
        const bool enter = key != nullptr && key->message == WM_KEYDOWN && key->wParam == VK_RETURN;
        result = DLGC_WANTCHARS | (enter ? DLGC_WANTMESSAGE : 0);
        return true;
    }
    default:
        return false;
    }
    result = 0;
    return true;
}

void CHyperLink::Paint() {
    PAINTSTRUCT paint{};
    HDC dc = ::BeginPaint(m_hWnd, &paint);
    if (dc == nullptr) {
        return;
    }
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    // The parent's static background, so the label sits on the dialog as any static does.
    auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(::GetParent(m_hWnd), WM_CTLCOLORSTATIC,
                                                         reinterpret_cast<WPARAM>(dc),
                                                         reinterpret_cast<LPARAM>(m_hWnd)));
    ::FillRect(dc, &client, brush ? brush : ::GetSysColorBrush(COLOR_3DFACE));
    ::SetBkMode(dc, TRANSPARENT);
    ::SetTextColor(dc, m_linkColor);
    const HGDIOBJ old = ::SelectObject(dc, m_linkFont.Get());
    ::DrawTextW(dc, m_label.c_str(), -1, &client, DT_LEFT | DT_WORDBREAK);
    ::SelectObject(dc, old);
    if (::GetFocus() == m_hWnd) {
        ::DrawFocusRect(dc, &m_linkRect);
    }
    ::EndPaint(m_hWnd, &paint);
}

bool CHyperLink::InLink(LPARAM point) const noexcept {
    // Signed: a captured mouse can be left of or above the control.
    const POINT at{static_cast<short>(LOWORD(point)), static_cast<short>(HIWORD(point))};
    return ::PtInRect(&m_linkRect, at) != FALSE;
}

void CHyperLink::Activate() {
    if ((m_extendedStyle & HLINK_COMMANDBUTTON) == 0) {
        return;
    }
    const auto id = static_cast<WORD>(::GetDlgCtrlID(m_hWnd));
    ::SendMessageW(::GetParent(m_hWnd), WM_COMMAND, MAKEWPARAM(id, 0),
                   reinterpret_cast<LPARAM>(m_hWnd));
}
