// How the window is laid out: its reworked button row, the notice row, the room the status
// line needs, and what follows a resize or a DPI change.
#include "ui/CMainDlg.h"

#include "framework/ChildRect.h"
#include "framework/Dpi.h"
#include "res/StringLoader.h"
#include "res/resource.h"
#include "ui/StatusText.h"
#include "ui/TextRoom.h"

#include <commctrl.h>

#include <algorithm>

namespace {

RECT Moved(const RECT& rect, LONG dx, LONG dy) {
    return {rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}

} // namespace

// A sizing border and a maximize box, around the client area the sheet chose.
void CMainDlg::MakeResizable() {
    const auto style =
        static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_STYLE)) | WS_THICKFRAME | WS_MAXIMIZEBOX;
    const auto exStyle = static_cast<DWORD>(::GetWindowLongPtrW(m_hWnd, GWL_EXSTYLE));
    ::SetWindowLongPtrW(m_hWnd, GWL_STYLE, static_cast<LONG_PTR>(style));
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    RECT frame = client;
    ::AdjustWindowRectEx(&frame, style, FALSE, exStyle);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// The designed client size at the current DPI, in the frame the window has now: the frame
// keeps its own size when the DPI changes under Wine, and follows the system's metrics on
// Windows.
SIZE CMainDlg::MinimumSize() const {
    RECT window{};
    RECT client{};
    ::GetWindowRect(m_hWnd, &window);
    ::GetClientRect(m_hWnd, &client);
    const SIZE home = m_layout.HomeSize();
    return {home.cx + ScaleBetweenDpis(m_statusRoom, m_dpi, m_homeDpi) +
                (window.right - window.left) - client.right,
            home.cy + (window.bottom - window.top) - client.bottom};
}

void CMainDlg::ReworkButtons() {
    HWND ok = ::GetDlgItem(m_hWnd, IDOK);
    HWND cancel = ::GetDlgItem(m_hWnd, IDCANCEL);
    HWND help = ::GetDlgItem(m_hWnd, IDHELP);
    const RECT tabs = ChildRect(m_hWnd, ::GetDlgItem(m_hWnd, IDC_SHEET_TABS));
    const RECT okRect = ChildRect(m_hWnd, ok);
    const RECT cancelRect = ChildRect(m_hWnd, cancel);
    const RECT helpRect = ChildRect(m_hWnd, help);
    const LONG gap = cancelRect.left - okRect.right;

    // The notice row takes the buttons' place, and they move down by it and the sheet's
    // spacing above them; the window grows with them, the pages keep their size.
    const LONG rowHeight =
        CNoticeRow::Height(m_font.Get(), m_dpi, cancelRect.bottom - cancelRect.top);
    const LONG down = rowHeight + std::max(cancelRect.top - tabs.bottom, 0L);
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left,
                   window.bottom - window.top + down, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const RECT closeRect = Moved(cancelRect, 0, down);
    const RECT newHelpRect = Moved(helpRect, 0, down);
    ::MoveWindow(help, newHelpRect.left, newHelpRect.top, newHelpRect.right - newHelpRect.left,
                 newHelpRect.bottom - newHelpRect.top, TRUE);

    // The sheet relabels OK as its Close button and disables Cancel; Close then takes
    // Cancel's place, and Cancel stays enabled but hidden so that Esc still closes.
    ::SendMessageW(m_hWnd, PSM_CANCELTOCLOSE, 0, 0);
    ::ShowWindow(cancel, SW_HIDE);
    ::EnableWindow(cancel, TRUE);
    for (HWND button : {ok, cancel}) {
        ::MoveWindow(button, closeRect.left, closeRect.top, closeRect.right - closeRect.left,
                     closeRect.bottom - closeRect.top, TRUE);
    }

    const LONG width = closeRect.right - closeRect.left;
    const LONG step = width + gap;
    const RECT aboutRect = Moved(closeRect, tabs.left - closeRect.left, 0);
    constexpr DWORD button = WS_CHILD | WS_VISIBLE | WS_GROUP | WS_TABSTOP;
    m_aboutButton = AddControl(L"BUTTON", IDS_ABOUT_BUTTON, button, IDC_ABOUT, aboutRect);
    m_newsButton =
        AddControl(L"BUTTON", IDS_NEWS_BUTTON, button, IDC_NEWS, Moved(aboutRect, step, 0));
    m_refreshButton = AddControl(L"BUTTON", IDS_REFRESH_BUTTON, button, IDC_REFRESH,
                                 Moved(aboutRect, 2 * step, 0));
    // The rest of the row up to Close; plain text, read as it is by screen readers.
    const RECT statusRect{aboutRect.left + 3 * step, closeRect.top, closeRect.left - gap,
                          closeRect.bottom};
    m_statusLine =
        AddControl(L"STATIC", 0,
                   WS_CHILD | WS_VISIBLE | SS_LEFT | SS_CENTERIMAGE | SS_NOPREFIX | SS_ENDELLIPSIS,
                   IDC_STATUS_LINE, statusRect);
    m_noticeRow.Create(m_hWnd,
                       {tabs.left, cancelRect.top, helpRect.right, cancelRect.top + rowHeight},
                       m_font.Get());
}

// The sheet's width comes from its pages; the status line may need more than it leaves.
void CMainDlg::MakeRoomForStatus() {
    const RECT status = ChildRect(m_hWnd, m_statusLine);
    // Slack for the layout's rounding of both edges at other scales.
    const LONG needed =
        WidestAtEveryScale(m_font.Get(), m_dpi, WidestStatusText()).cx + ScaleForDpi(2, m_dpi);
    m_homeDpi = m_dpi;
    m_statusRoom = std::max(needed - (status.right - status.left), 0L);
    if (m_statusRoom == 0) {
        return;
    }
    RECT window{};
    ::GetWindowRect(m_hWnd, &window);
    ::SetWindowPos(m_hWnd, nullptr, 0, 0, window.right - window.left + m_statusRoom,
                   window.bottom - window.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HWND CMainDlg::AddControl(const wchar_t* className, UINT textId, DWORD style, int id,
                          const RECT& rect) {
    HWND control = ::CreateWindowExW(
        WS_EX_NOPARENTNOTIFY, className, textId != 0 ? LoadExpandedString(textId).c_str() : L"",
        style, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, m_hWnd,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ::GetModuleHandleW(nullptr), nullptr);
    if (control != nullptr) {
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), TRUE);
    }
    return control;
}

void CMainDlg::SetUpLayout() {
    using A = CAnchoredLayout;
    m_layout.SetParent(m_hWnd, m_dpi);
    m_layout.Add(::GetDlgItem(m_hWnd, IDC_SHEET_TABS), A::GrowWidth | A::GrowHeight);
    for (int id : {IDOK, IDCANCEL, IDHELP}) {
        m_layout.Add(::GetDlgItem(m_hWnd, id), A::Right | A::Bottom);
    }
    for (HWND button : {m_aboutButton, m_newsButton, m_refreshButton}) {
        m_layout.Add(button, A::Bottom);
    }
    m_layout.Add(m_statusLine, A::Bottom | A::GrowWidth);
    m_layout.Add(m_noticeRow.Line(), A::Bottom | A::GrowWidth);
}

// The sheet has made the first page and shows itself.
void CMainDlg::OnSheetShown() {
    // Where the sheet put its first page, at the smallest size: every page grows from there.
    HWND page = m_toReviewPage.GetHwnd();
    m_layout.Add(page, CAnchoredLayout::GrowWidth | CAnchoredLayout::GrowHeight);
    // The buttons follow the "Not Authorized" page in the tab order.
    HWND after = page;
    for (HWND button : {m_aboutButton, m_newsButton, m_refreshButton, m_noticeRow.Button()}) {
        if (button != nullptr && after != nullptr) {
            ::SetWindowPos(button, after, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE);
            after = button;
        }
    }
    m_pageShown = true;
    if (m_restoreMaximized) {
        ::ShowWindow(m_hWnd, SW_MAXIMIZE);
    }
    LayOut();
}

void CMainDlg::LayOut() {
    if (!m_pageShown) {
        return;
    }
    // A page made later stands where the sheet put the first one.
    m_layout.AddLike(m_allowedPage.GetHwnd(), m_toReviewPage.GetHwnd());
    RECT client{};
    ::GetClientRect(m_hWnd, &client);
    m_layout.Apply(client.right, client.bottom);
    const RECT close = ChildRect(m_hWnd, ::GetDlgItem(m_hWnd, IDOK));
    const RECT help = ChildRect(m_hWnd, ::GetDlgItem(m_hWnd, IDHELP));
    m_noticeRow.Place(close, help.left - close.right);
}

void CMainDlg::ShowNoticeButton(const std::wstring& label) {
    m_noticeRow.SetButton(label);
    LayOut();
}

// Everything sized here follows the new DPI from its size at the first one, and the window
// takes the place the system suggests. The DPI comes with the message: the window's own
// may not have changed yet, and never does under Wine.
void CMainDlg::OnDpiChanged(UINT dpi, const RECT& suggested) {
    m_dpi = dpi;
    m_layout.SetDpi(dpi);
    m_font.SetDpi(dpi);
    for (HWND control : {m_aboutButton, m_newsButton, m_refreshButton, m_statusLine,
                         m_noticeRow.Line(), m_noticeRow.Button()}) {
        ::SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.Get()), TRUE);
    }
    m_toReviewPage.SetDpi(dpi);
    m_allowedPage.SetDpi(dpi);
    ::SetWindowPos(m_hWnd, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                   suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    LayOut();
}
